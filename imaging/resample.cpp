#include "resample.h"

#include "SysUtils.h"
#include "VectorPath.h"

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

// Source rows into the work bitmap. A group of rows goes through each contributor list together:
// the same weights, and independent chains of additions for the processor to overlap. The rows'
// channels are laid out pixel by pixel (row 0's three channels, row 1's, ...), so that the
// vector lanes are all in use: four rows fill three 4-lane vectors, eight rows three 8-lane ones.
// Each lane adds its products in contributor order, as the plain sum does.
using v8sf = float __attribute__((vector_size(32)));

template <class Vec>
inline Vec LoadLanes(const float* from)
{
    Vec v;
    std::memcpy(&v, from, sizeof v);
    return v;
}

template <int Rows, class Vec>
inline void SumColumns(const float* lanes, const ContributorTable& table, int dw, float* sums, size_t rowStride)
{
    constexpr int kPerPixel = kPixelBytes * Rows;
    constexpr int kLanes = sizeof(Vec) / sizeof(float);
    constexpr int kVectors = kPerPixel / kLanes;
    static_assert(kVectors * kLanes == kPerPixel);
    for (int i = 0; i < dw; ++i) {
        Vec acc[kVectors] = {};
        for (const TContributor* c = table.begin(i); c != table.end(i); ++c) {
            const float* at = lanes + static_cast<size_t>(kPerPixel) * c->Pixel;
            const float w = c->Weight;
            for (int v = 0; v < kVectors; ++v)
                acc[v] += LoadLanes<Vec>(at + kLanes * v) * w;
        }
        float out[kPerPixel];
        std::memcpy(out, acc, sizeof out);
        for (int r = 0; r < Rows; ++r)
            for (int ch = 0; ch < kPixelBytes; ++ch)
                sums[r * rowStride + kPixelBytes * i + ch] = out[kPixelBytes * r + ch];
    }
}

void SumColumns4(const float* lanes, const ContributorTable& table, int dw, float* sums, size_t rowStride)
{
    SumColumns<4, v4sf>(lanes, table, dw, sums, rowStride);
}

#ifdef __SSE2__
__attribute__((target("avx2"))) void SumColumns8(const float* lanes, const ContributorTable& table, int dw, float* sums,
                                                 size_t rowStride)
{
    SumColumns<8, v8sf>(lanes, table, dw, sums, rowStride);
}
#endif

template <int Rows>
void HorizontalPass(const TBitmap& src, TBitmap& work, const ContributorTable& table,
                    void (*sumColumns)(const float*, const ContributorTable&, int, float*, size_t))
{
    const int sw = src.Width(), sh = src.Height(), dw = work.Width();
    const int bytes = kPixelBytes * dw;
    std::vector<float> lanes(static_cast<size_t>(kPixelBytes) * Rows * sw);
    std::vector<float> sums(static_cast<size_t>(Rows) * bytes);
    std::vector<float> guard(bytes);
    for (int b = 0; b < bytes; ++b)
        guard[b] = table.guard[b / kPixelBytes];
    for (int k0 = 0; k0 < sh; k0 += Rows) {
        const int rows = std::min(Rows, sh - k0);
        const uint8_t* s[Rows];
        for (int r = 0; r < Rows; ++r)
            s[r] = src.ScanLine(k0 + std::min(r, rows - 1));  // a short last group repeats a row
        for (int p = 0; p < sw; ++p)
            for (int r = 0; r < Rows; ++r)
                for (int ch = 0; ch < kPixelBytes; ++ch)
                    lanes[(static_cast<size_t>(p) * Rows + r) * kPixelBytes + ch] = static_cast<float>(s[r][kPixelBytes * p + ch]);
        sumColumns(lanes.data(), table, dw, sums.data(), bytes);
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

void HorizontalPass(const TBitmap& src, TBitmap& work, const ContributorTable& table)
{
#ifdef __SSE2__
    if (ActiveVectorPath() == TVectorPath::Avx2)
        return HorizontalPass<8>(src, work, table, SumColumns8);
#endif
    HorizontalPass<4>(src, work, table, SumColumns4);
}

// Work rows into the destination, one destination row at a time, 16 bytes side by side kept in
// registers through the whole contributor list.
void VerticalPass(const TBitmap& work, TBitmap& dst, const ContributorTable& table)
{
    const int sh = work.Height(), dh = dst.Height();
    const int bytes = kPixelBytes * dst.Width();
    std::vector<const uint8_t*> rows(sh);
    for (int k = 0; k < sh; ++k)
        rows[k] = work.ScanLine(k);
    std::vector<float> sums(bytes);
    for (int i = 0; i < dh; ++i) {
        const TContributor* first = table.begin(i);
        const TContributor* last = table.end(i);
        int b0 = 0;
#ifdef __SSE2__
        const __m128i zero = _mm_setzero_si128();
        for (; b0 + 16 <= bytes; b0 += 16) {
            __m128 a0 = _mm_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
            for (const TContributor* c = first; c != last; ++c) {
                const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[c->Pixel] + b0));
                const __m128i lo = _mm_unpacklo_epi8(in, zero), hi = _mm_unpackhi_epi8(in, zero);
                const __m128 w = _mm_set1_ps(c->Weight);
                a0 = _mm_add_ps(a0, _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero)), w));
                a1 = _mm_add_ps(a1, _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero)), w));
                a2 = _mm_add_ps(a2, _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero)), w));
                a3 = _mm_add_ps(a3, _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero)), w));
            }
            _mm_storeu_ps(&sums[b0], a0);
            _mm_storeu_ps(&sums[b0 + 4], a1);
            _mm_storeu_ps(&sums[b0 + 8], a2);
            _mm_storeu_ps(&sums[b0 + 12], a3);
        }
#endif
        for (int b = b0; b < bytes; ++b) {
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

    // The horizontal pass writes every pixel of the work bitmap.
    auto work = TBitmap::NewForOverwrite(dw, sh, pf24bit);
    HorizontalPass(*src, *work, BuildContributors(sw, dw, Filter, Support));
    VerticalPass(*work, *dst, BuildContributors(sh, dh, Filter, Support));

    if (dst != &Dst) {
        dstCopy.SetPixelFormat(Dst.PixelFormat());
        Dst.Assign(dstCopy);
    }
}
