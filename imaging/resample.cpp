#include "ResampleSums.h"
#include "SysUtils.h"

#include <cmath>

namespace resampling {
namespace {

using Ext = long double;

// Mirrored into the source; an index still outside (the filter reaching more than a whole
// source beyond an edge) takes the edge pixel, so nothing outside the source is ever read.
int32_t MirrorIndex(int64_t j, int n)
{
    if (j < 0)
        j = -j;
    else if (j > n - 1)
        j = 2 * static_cast<int64_t>(n) - j - 1;
    return static_cast<int32_t>(std::clamp<int64_t>(j, 0, n - 1));
}

// End pixels of source and destination are aligned; with one pixel on either side there is no
// span to align, and the sizes' ratio is used.
float ScaleFactor(int srcSize, int dstSize)
{
    if (srcSize == 1 || dstSize == 1)
        return static_cast<float>(static_cast<Ext>(dstSize) / srcSize);
    return static_cast<float>(static_cast<Ext>(dstSize - 1) / (srcSize - 1));
}

// Spacing of single-precision values at magnitudes up to x.
double UlpUpTo(double x)
{
    int exponent = 0;
    std::frexp(x, &exponent);  // x < 2^exponent
    return std::ldexp(1.0, exponent - 24);
}

// Each step of the exact sum rounds once to extended and once to single precision; each step of
// the fast sum rounds the product and the sum to single precision. Their difference grows per
// step by at most half an ulp of the product plus an ulp of the partial sum, whose sizes are
// bounded by the weights (channels are at most 255). Twice that, for a margin.
float Guard(const TContributor* first, const TContributor* last)
{
    double partial = 0, drift = 0;
    for (const TContributor* c = first; c != last; ++c) {
        const double product = 255 * std::fabs(static_cast<double>(c->Weight));
        partial += product;
        drift += 0.5 * UlpUpTo(product) + UlpUpTo(partial * (1 + 1.0 / 1024));
    }
    return static_cast<float>(2 * drift);
}

}  // namespace

ContributorTable BuildContributors(int srcSize, int dstSize, TFilterProc filter, float support)
{
    ContributorTable table;
    const float scale = ScaleFactor(srcSize, dstSize);
    for (int i = 0; i < dstSize; ++i) {
        if (scale >= 1) {
            const float width = support;
            const float centre = static_cast<float>(static_cast<Ext>(i) / scale);
            const auto lo = static_cast<int64_t>(std::floor(static_cast<Ext>(centre) - width));
            const auto hi = static_cast<int64_t>(std::ceil(static_cast<Ext>(centre) + width));
            for (int64_t j = lo; j <= hi; ++j) {
                const float weight = filter(static_cast<float>(static_cast<Ext>(centre) - j));
                if (weight != 0)
                    table.items.push_back({MirrorIndex(j, srcSize), weight});
            }
        } else {
            // Minifying: the filter stretched by 1 / scale and its height scaled by scale.
            const float width = static_cast<float>(static_cast<Ext>(support) / scale);
            const float fscale = static_cast<float>(1 / static_cast<Ext>(scale));
            const float centre = static_cast<float>(static_cast<Ext>(i) / scale);
            const auto lo = static_cast<int64_t>(std::floor(static_cast<Ext>(centre) - width));
            const auto hi = static_cast<int64_t>(std::ceil(static_cast<Ext>(centre) + width));
            for (int64_t j = lo; j <= hi; ++j) {
                const float value = filter(static_cast<float>((static_cast<Ext>(centre) - j) / fscale));
                const float weight = static_cast<float>(static_cast<Ext>(value) / fscale);
                if (weight != 0)
                    table.items.push_back({MirrorIndex(j, srcSize), weight});
            }
        }
        table.start.push_back(table.items.size());
        table.guard.push_back(Guard(table.begin(i), table.end(i)));
    }
    return table;
}

}  // namespace resampling

void Stretch(const TBitmap& Src, TBitmap& Dst, TFilterProc Filter, float Support)
{
    const int sw = Src.Width(), sh = Src.Height();
    if (sw < 1 || sh < 1)
        throw Exception("Source bitmap too small");
    const int dw = Dst.Width(), dh = Dst.Height();
    if (dw < 1 || dh < 1)
        return;

    // Other pixel formats go through 24-bit copies: the colours are the same.
    const TBitmap* src = &Src;
    TBitmap srcCopy;
    if (Src.PixelFormat() != pf24bit) {
        srcCopy.Assign(Src);
        srcCopy.SetPixelFormat(pf24bit);
        src = &srcCopy;
    }
    TBitmap* dst = &Dst;
    TBitmap dstCopy;
    if (Dst.PixelFormat() != pf24bit) {
        dstCopy.SetPixelFormat(pf24bit);
        dstCopy.SetSize(dw, dh);
        dst = &dstCopy;
    }

    // The horizontal pass writes every pixel of the work bitmap.
    auto work = TBitmap::NewForOverwrite(dw, sh, pf24bit);
    resampling::HorizontalPass(*src, *work, resampling::BuildContributors(sw, dw, Filter, Support));
    resampling::VerticalPass(*work, *dst, resampling::BuildContributors(sh, dh, Filter, Support));

    if (dst != &Dst) {
        dstCopy.SetPixelFormat(Dst.PixelFormat());
        Dst.Assign(dstCopy);
    }
}
