#include "resample.h"

#include "SysUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using Ext = long double;
constexpr int kPixelBytes = 3;

using v4sf = float __attribute__((vector_size(16)));
using v8sf = float __attribute__((vector_size(32)));
using v8qu = uint8_t __attribute__((vector_size(8)));

// The contributor lists of one pass, one per destination column or row, kept end to end.
struct ContributorTable {
    std::vector<size_t> start{0};       // list i is items[start[i], start[i + 1])
    std::vector<TContributor> items;
    // How near a rounding boundary (a half) a sum may come before the fast sum, added in
    // another order of roundings, could round to another byte than the exact one.
    std::vector<float> guard;

    const TContributor* begin(int i) const { return items.data() + start[i]; }
    const TContributor* end(int i) const { return items.data() + start[i + 1]; }
};

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

// Each step of the exact sum rounds once to extended and once to single precision, each step
// of the fast sum once or twice to single: their difference grows by at most an ulp of the
// largest partial sum per step.
float Guard(const TContributor* first, const TContributor* last)
{
    double absSum = 0;
    for (const TContributor* c = first; c != last; ++c)
        absSum += std::fabs(static_cast<double>(c->Weight));
    const double bound = 2 * 255 * absSum;
    if (bound == 0)
        return 0;
    int exponent = 0;
    std::frexp(bound, &exponent);
    return static_cast<float>(2.0 * static_cast<double>(last - first + 1) * std::ldexp(1.0, exponent - 23));
}

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

inline uint8_t ClampRound(float sum)
{
    if (sum > 255)
        return 255;
    if (!(sum >= 0))  // below 0, or not a number
        return 0;
    return static_cast<uint8_t>(std::nearbyint(sum));  // half to even
}

inline bool NearHalf(float sum, float guard)
{
    return sum > -1 && sum < 256 && std::fabs(sum - std::floor(sum) - 0.5f) <= guard;
}

// The sum as defined: in contributor order, each product and addition in extended precision,
// the running sum stored in single precision after every step.
template <class Read>
uint8_t ExactByte(const TContributor* c, const TContributor* last, Read read)
{
    float sum = 0;
    for (; c != last; ++c)
        sum = static_cast<float>(static_cast<Ext>(sum) + static_cast<Ext>(read(c->Pixel)) * c->Weight);
    return ClampRound(sum);
}

// Source rows into the work bitmap, one destination column at a time; the three channels of
// a pixel share one vector.
void HorizontalPass(const TBitmap& src, TBitmap& work, const ContributorTable& table)
{
    const int sw = src.Width(), sh = src.Height(), dw = work.Width();
    std::vector<v4sf> pixels(sw);
    std::vector<float> sums(static_cast<size_t>(kPixelBytes) * dw);
    for (int k = 0; k < sh; ++k) {
        const uint8_t* s = src.ScanLine(k);
        for (int x = 0; x < sw; ++x)
            pixels[x] = v4sf{static_cast<float>(s[3 * x]), static_cast<float>(s[3 * x + 1]),
                             static_cast<float>(s[3 * x + 2]), 0.0f};
        for (int i = 0; i < dw; ++i) {
            v4sf acc = {0, 0, 0, 0};
            for (const TContributor* c = table.begin(i); c != table.end(i); ++c)
                acc += pixels[c->Pixel] * c->Weight;
            sums[3 * i] = acc[0];
            sums[3 * i + 1] = acc[1];
            sums[3 * i + 2] = acc[2];
        }
        uint8_t* out = work.ScanLine(k);
        for (int i = 0; i < dw; ++i) {
            const float guard = table.guard[i];
            for (int ch = 0; ch < kPixelBytes; ++ch) {
                const float sum = sums[3 * i + ch];
                out[3 * i + ch] = NearHalf(sum, guard)
                    ? ExactByte(table.begin(i), table.end(i), [&](int32_t p) { return s[3 * p + ch]; })
                    : ClampRound(sum);
            }
        }
    }
}

// Work rows into the destination, one destination row at a time, all its bytes side by side.
void VerticalPass(const TBitmap& work, TBitmap& dst, const ContributorTable& table)
{
    const int sh = work.Height(), dh = dst.Height();
    const int bytes = kPixelBytes * dst.Width();
    const int vectorBytes = bytes - bytes % 8;
    std::vector<const uint8_t*> rows(sh);
    for (int k = 0; k < sh; ++k)
        rows[k] = work.ScanLine(k);
    std::vector<v8sf> sums(vectorBytes / 8);
    std::vector<float> tail(8);
    for (int i = 0; i < dh; ++i) {
        std::fill(sums.begin(), sums.end(), v8sf{});
        std::fill(tail.begin(), tail.end(), 0.0f);
        for (const TContributor* c = table.begin(i); c != table.end(i); ++c) {
            const uint8_t* row = rows[c->Pixel];
            const float weight = c->Weight;
            for (int v = 0; v < vectorBytes / 8; ++v) {
                v8qu in;
                std::memcpy(&in, row + 8 * v, 8);
                sums[v] += __builtin_convertvector(in, v8sf) * weight;
            }
            for (int b = vectorBytes; b < bytes; ++b)
                tail[b - vectorBytes] += static_cast<float>(row[b]) * weight;
        }
        uint8_t* out = dst.ScanLine(i);
        const float guard = table.guard[i];
        for (int b = 0; b < bytes; ++b) {
            const float sum = b < vectorBytes ? sums[b / 8][b % 8] : tail[b - vectorBytes];
            out[b] = NearHalf(sum, guard)
                ? ExactByte(table.begin(i), table.end(i), [&](int32_t p) { return rows[p][b]; })
                : ClampRound(sum);
        }
    }
}

}  // namespace

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

    TBitmap work(dw, sh, pf24bit);
    HorizontalPass(*src, work, BuildContributors(sw, dw, Filter, Support));
    VerticalPass(work, *dst, BuildContributors(sh, dh, Filter, Support));

    if (dst != &Dst) {
        dstCopy.SetPixelFormat(Dst.PixelFormat());
        Dst.Assign(dstCopy);
    }
}
