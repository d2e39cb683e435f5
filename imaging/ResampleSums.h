#pragma once
// What the two passes of the resampler share: the contributor lists, and the rounding of sums to
// bytes. A pass adds its sums the fast way (vector lanes, single precision); a sum that comes
// within its guard of a half, the only place where the two ways could round to different bytes,
// is added again the way the definition says.
#include "resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <immintrin.h>
#endif

namespace resampling {

constexpr int kPixelBytes = 3;

// The contributor lists of one pass, one per destination column or row, kept end to end.
struct ContributorTable {
    std::vector<size_t> start{0};  // list i is items[start[i], start[i + 1])
    std::vector<TContributor> items;
    // How near a half a sum may come before the fast sum could round to another byte than the
    // exact one.
    std::vector<float> guard;

    const TContributor* begin(int i) const { return items.data() + start[i]; }
    const TContributor* end(int i) const { return items.data() + start[i + 1]; }
};

ContributorTable BuildContributors(int srcSize, int dstSize, TFilterProc filter, float support);

// Source rows into the work bitmap (dst's width, src's height), and work rows into dst.
void HorizontalPass(const TBitmap& src, TBitmap& work, const ContributorTable& table);
void VerticalPass(const TBitmap& work, TBitmap& dst, const ContributorTable& table);

// The rows of a bitmap, taken on the calling thread: the threads touch only the pixels.
template <class Row, class Bitmap>
std::vector<Row> RowsOf(Bitmap& bitmap)
{
    std::vector<Row> rows(bitmap.Height());
    for (int k = 0; k < bitmap.Height(); ++k)
        rows[k] = bitmap.ScanLine(k);
    return rows;
}

// A thread pays for itself with about this many multiply-adds of its own, a millisecond or two on
// one thread: fewer, and starting it and waiting for it on a busy machine cost more than it
// saves. A thread's share is at least this many units (rows or groups of rows) of the given cost.
inline int MinUnits(double costPerUnit)
{
    constexpr double kWorkPerThread = 8e6;
    return static_cast<int>(std::clamp(kWorkPerThread / std::max(1.0, costPerUnit), 1.0, 1e9));
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
        sum = static_cast<float>(static_cast<long double>(sum) + static_cast<long double>(read(c->Pixel)) * c->Weight);
    return ClampRound(sum);
}

#ifdef __SSE2__
// Rounds the 4 x Quads sums (Quads 4 or 6) into bytes at out, as ClampRound does; returns the
// mask of those within their guard (guardQuad(q) for sums[q]) of a half.
template <int Quads, class GuardQuad>
inline uint32_t RoundQuads(const __m128* sums, uint8_t* out, GuardQuad guardQuad)
{
    static_assert(Quads == 4 || Quads == 6);
    const __m128 below = _mm_set1_ps(-1.0f), above = _mm_set1_ps(256.0f), half = _mm_set1_ps(0.5f);
    const __m128 noSign = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    __m128i words[Quads];
    uint32_t suspects = 0;
    for (int q = 0; q < Quads; ++q) {
        // Brought into -1 to 256 (max takes -1 for a sum that is not a number), rounded by the
        // conversion in the current mode (nearest, ties to even); the saturating packs below
        // make -1 a 0 and 256 a 255, as ClampRound does.
        const __m128 near = _mm_min_ps(_mm_max_ps(sums[q], below), above);
        words[q] = _mm_cvtps_epi32(near);
        const __m128 frac = _mm_and_ps(_mm_sub_ps(near, _mm_cvtepi32_ps(words[q])), noSign);
        const __m128 off = _mm_and_ps(_mm_sub_ps(frac, half), noSign);
        suspects |= static_cast<uint32_t>(_mm_movemask_ps(_mm_cmple_ps(off, guardQuad(q)))) << (4 * q);
    }
    const __m128i first = _mm_packus_epi16(_mm_packs_epi32(words[0], words[1]), _mm_packs_epi32(words[2], words[3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), first);
    if constexpr (Quads == 6) {
        const __m128i rest = _mm_packs_epi32(words[4], words[5]);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm_packus_epi16(rest, rest));
    }
    return suspects;
}

// The same for 8 x Octs sums (Octs 3 or 4) in 8-lane vectors, all under one guard.
template <int Octs>
__attribute__((target("avx2"))) inline uint32_t RoundOcts(const __m256* sums, uint8_t* out, float guardValue)
{
    static_assert(Octs == 3 || Octs == 4);
    const __m256 below = _mm256_set1_ps(-1.0f), above = _mm256_set1_ps(256.0f), half = _mm256_set1_ps(0.5f);
    const __m256 noSign = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF)), guard = _mm256_set1_ps(guardValue);
    __m256i words[4];
    uint32_t suspects = 0;
    for (int o = 0; o < Octs; ++o) {
        const __m256 near = _mm256_min_ps(_mm256_max_ps(sums[o], below), above);
        words[o] = _mm256_cvtps_epi32(near);
        const __m256 frac = _mm256_and_ps(_mm256_sub_ps(near, _mm256_cvtepi32_ps(words[o])), noSign);
        const __m256 off = _mm256_and_ps(_mm256_sub_ps(frac, half), noSign);
        suspects |= static_cast<uint32_t>(_mm256_movemask_ps(_mm256_cmp_ps(off, guard, _CMP_LE_OQ))) << (8 * o);
    }
    if constexpr (Octs == 3)
        words[3] = words[2];
    // Packing works within each 128-bit half: quarters of the four vectors come out interleaved,
    // and the permute puts them back in order.
    const __m256i packed = _mm256_packus_epi16(_mm256_packs_epi32(words[0], words[1]), _mm256_packs_epi32(words[2], words[3]));
    const __m256i bytes = _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
    if constexpr (Octs == 4) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), bytes);
    } else {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(bytes, 1));
    }
    return suspects;
}
#endif

// Rounds a row of sums into bytes. guards holds a guard for every byte (perByte) or one for the
// whole row; a sum within its guard of a half is recomputed by exact(b).
template <class Exact>
void FinishRow(const float* sums, uint8_t* out, int count, const float* guards, bool perByte, Exact exact)
{
    int b = 0;
#ifdef __SSE2__
    for (; b + 16 <= count; b += 16) {
        const __m128 quads[4] = {_mm_loadu_ps(sums + b), _mm_loadu_ps(sums + b + 4), _mm_loadu_ps(sums + b + 8),
                                 _mm_loadu_ps(sums + b + 12)};
        uint32_t suspects = RoundQuads<4>(quads, out + b, [&](int q) {
            return perByte ? _mm_loadu_ps(guards + b + 4 * q) : _mm_set1_ps(*guards);
        });
        for (; suspects != 0; suspects &= suspects - 1)
            out[b + __builtin_ctz(suspects)] = exact(b + __builtin_ctz(suspects));
    }
#endif
    for (; b < count; ++b)
        out[b] = NearHalf(sums[b], perByte ? guards[b] : *guards) ? exact(b) : ClampRound(sums[b]);
}

}  // namespace resampling
