#include "resample.h"

#include "SysUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

using Ext = long double;
constexpr int kPixelBytes = 3;

using v4sf = float __attribute__((vector_size(16)));
using v8sf = float __attribute__((vector_size(32)));
using v8qu = uint8_t __attribute__((vector_size(8)));
using v4qu = uint8_t __attribute__((vector_size(4)));

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

// Round half to even by the float adder itself: adding 1.5 x 2^23 leaves no bits below the
// units, so the sum is rounded in the current (nearest, ties to even) mode; exact below 2^22.
inline float RoundHalfEven(float v)
{
    constexpr float kMagic = 12582912.0f;
    return (v + kMagic) - kMagic;
}

// Sums above 255 become 255, below 0 (or not a number) 0, the rest are rounded half to even.
inline uint8_t ClampRound(float sum)
{
    const float clamped = std::min(255.0f, std::max(0.0f, sum));
    return static_cast<uint8_t>(static_cast<int>(RoundHalfEven(clamped)));
}

// True when the sum lies within guard of a half between two bytes.
inline bool NearHalf(float sum, float guard)
{
    const float near = std::min(256.0f, std::max(-1.0f, sum));
    return std::fabs(std::fabs(near - RoundHalfEven(near)) - 0.5f) <= guard;
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

// Rounds a row of fast sums into bytes. A sum within its guard of a half (the only places where
// the rounded byte can flip) is recomputed exactly by exact(b).
template <class GuardOf, class Exact>
void FinishRow(const float* sums, uint8_t* out, int count, GuardOf guardOf, Exact exact)
{
    int b = 0;
#ifdef __SSE2__
    const __m128 zero = _mm_setzero_ps(), top = _mm_set1_ps(255.0f), magic = _mm_set1_ps(12582912.0f);
    const __m128 below = _mm_set1_ps(-1.0f), above = _mm_set1_ps(256.0f), half = _mm_set1_ps(0.5f);
    const __m128 noSign = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    for (; b + 16 <= count; b += 16) {
        __m128i words[4];
        int suspects = 0;
        for (int q = 0; q < 4; ++q) {
            const __m128 sum = _mm_loadu_ps(sums + b + 4 * q);
            // max(sum, 0) takes 0 for a sum that is not a number, as ClampRound does.
            const __m128 clamped = _mm_min_ps(_mm_max_ps(sum, zero), top);
            words[q] = _mm_cvttps_epi32(_mm_sub_ps(_mm_add_ps(clamped, magic), magic));
            const __m128 near = _mm_min_ps(_mm_max_ps(sum, below), above);
            const __m128 frac = _mm_and_ps(_mm_sub_ps(near, _mm_sub_ps(_mm_add_ps(near, magic), magic)), noSign);
            const __m128 off = _mm_and_ps(_mm_sub_ps(frac, half), noSign);
            const __m128 guard = _mm_setr_ps(guardOf(b + 4 * q), guardOf(b + 4 * q + 1), guardOf(b + 4 * q + 2), guardOf(b + 4 * q + 3));
            suspects |= _mm_movemask_ps(_mm_cmple_ps(off, guard)) << (4 * q);
        }
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(words[0], words[1]), _mm_packs_epi32(words[2], words[3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + b), bytes);
        for (; suspects != 0; suspects &= suspects - 1)
            out[b + __builtin_ctz(suspects)] = exact(b + __builtin_ctz(suspects));
    }
#endif
    for (; b < count; ++b)
        out[b] = NearHalf(sums[b], guardOf(b)) ? exact(b) : ClampRound(sums[b]);
}

// Source rows into the work bitmap. Four rows go through each contributor list together: the
// same weights, and four independent chains of additions for the processor to overlap.
constexpr int kRows = 4;
struct PixelQuad {
    v4sf row[kRows];  // blue, green, red, (unused) of one source column in four rows
};

void HorizontalPass(const TBitmap& src, TBitmap& work, const ContributorTable& table)
{
    const int sw = src.Width(), sh = src.Height(), dw = work.Width();
    const int bytes = kPixelBytes * dw;
    std::vector<PixelQuad> pixels(sw);
    std::vector<float> sums(static_cast<size_t>(kRows) * bytes);
    std::vector<float> guard(bytes);
    for (int b = 0; b < bytes; ++b)
        guard[b] = table.guard[b / kPixelBytes];
    for (int k0 = 0; k0 < sh; k0 += kRows) {
        const int rows = std::min(kRows, sh - k0);
        const uint8_t* s[kRows];
        for (int r = 0; r < kRows; ++r)
            s[r] = src.ScanLine(k0 + std::min(r, rows - 1));  // a short last group repeats a row
        for (int r = 0; r < kRows; ++r) {
            for (int x = 0; x + 1 < sw; ++x) {
                v4qu in;
                std::memcpy(&in, s[r] + 3 * x, 4);  // the fourth byte is the next pixel's, unused
                pixels[x].row[r] = __builtin_convertvector(in, v4sf);
            }
            const uint8_t* last = s[r] + 3 * (sw - 1);
            pixels[sw - 1].row[r] = v4sf{static_cast<float>(last[0]), static_cast<float>(last[1]),
                                         static_cast<float>(last[2]), 0.0f};
        }
        for (int i = 0; i < dw; ++i) {
            v4sf a0 = {}, a1 = {}, a2 = {}, a3 = {};
            for (const TContributor* c = table.begin(i); c != table.end(i); ++c) {
                const PixelQuad& p = pixels[c->Pixel];
                const float w = c->Weight;
                a0 += p.row[0] * w;
                a1 += p.row[1] * w;
                a2 += p.row[2] * w;
                a3 += p.row[3] * w;
            }
            const v4sf acc[kRows] = {a0, a1, a2, a3};
            for (int r = 0; r < kRows; ++r)
                for (int ch = 0; ch < kPixelBytes; ++ch)
                    sums[static_cast<size_t>(r) * bytes + 3 * i + ch] = acc[r][ch];
        }
        for (int r = 0; r < rows; ++r) {
            const uint8_t* row = s[r];
            FinishRow(sums.data() + static_cast<size_t>(r) * bytes, work.ScanLine(k0 + r), bytes,
                      [&](int b) { return guard[b]; },
                      [&](int b) {
                          const int i = b / kPixelBytes, ch = b % kPixelBytes;
                          return ExactByte(table.begin(i), table.end(i), [&](int32_t p) { return row[3 * p + ch]; });
                      });
        }
    }
}

// Work rows into the destination, one destination row at a time, 32 bytes side by side kept in
// registers through the whole contributor list.
void VerticalPass(const TBitmap& work, TBitmap& dst, const ContributorTable& table)
{
    const int sh = work.Height(), dh = dst.Height();
    const int bytes = kPixelBytes * dst.Width();
    const int blockBytes = bytes - bytes % 32;
    std::vector<const uint8_t*> rows(sh);
    for (int k = 0; k < sh; ++k)
        rows[k] = work.ScanLine(k);
    std::vector<float> sums(bytes);
    for (int i = 0; i < dh; ++i) {
        const TContributor* first = table.begin(i);
        const TContributor* last = table.end(i);
        for (int b0 = 0; b0 < blockBytes; b0 += 32) {
            v8sf a0 = {}, a1 = {}, a2 = {}, a3 = {};
            for (const TContributor* c = first; c != last; ++c) {
                const uint8_t* row = rows[c->Pixel] + b0;
                const float w = c->Weight;
                v8qu in0, in1, in2, in3;
                std::memcpy(&in0, row, 8);
                std::memcpy(&in1, row + 8, 8);
                std::memcpy(&in2, row + 16, 8);
                std::memcpy(&in3, row + 24, 8);
                a0 += __builtin_convertvector(in0, v8sf) * w;
                a1 += __builtin_convertvector(in1, v8sf) * w;
                a2 += __builtin_convertvector(in2, v8sf) * w;
                a3 += __builtin_convertvector(in3, v8sf) * w;
            }
            std::memcpy(&sums[b0], &a0, 32);
            std::memcpy(&sums[b0 + 8], &a1, 32);
            std::memcpy(&sums[b0 + 16], &a2, 32);
            std::memcpy(&sums[b0 + 24], &a3, 32);
        }
        for (int b = blockBytes; b < bytes; ++b) {
            float sum = 0;
            for (const TContributor* c = first; c != last; ++c)
                sum += static_cast<float>(rows[c->Pixel][b]) * c->Weight;
            sums[b] = sum;
        }
        const float guard = table.guard[i];
        FinishRow(sums.data(), dst.ScanLine(i), bytes, [&](int) { return guard; },
                  [&](int b) { return ExactByte(first, last, [&](int32_t p) { return rows[p][b]; }); });
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
