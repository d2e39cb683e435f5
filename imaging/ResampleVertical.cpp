// The second pass of the resampler: work rows into destination rows. Every byte of a destination
// row is a sum over the same work rows with the same weights, so a run of bytes side by side is
// kept in registers through the whole contributor list: 32 on the AVX2 path, 16 on SSE2.
// Destination rows are shared among threads.
#include "ResampleSums.h"
#include "RowBands.h"
#include "VectorPath.h"

namespace resampling {
namespace {

struct Row {
    const uint8_t* const* rows;  // the work rows
    const TContributor* first;
    const TContributor* last;
    float guard;
    uint8_t* out;

    uint8_t Exact(int b) const
    {
        return ExactByte(first, last, [&](int32_t p) { return rows[p][b]; });
    }
};

#ifdef __SSE2__
// Bytes [0, n) of the row for the largest n that is a multiple of 32; returns n.
__attribute__((target("avx2"))) int SumAndRoundAvx2(const Row& row, int bytes)
{
    int b0 = 0;
    for (; b0 + 32 <= bytes; b0 += 32) {
        __m256 acc[4] = {_mm256_setzero_ps(), _mm256_setzero_ps(), _mm256_setzero_ps(), _mm256_setzero_ps()};
        for (const TContributor* c = row.first; c != row.last; ++c) {
            const uint8_t* in = row.rows[c->Pixel] + b0;
            const __m256 w = _mm256_set1_ps(c->Weight);
            for (int q = 0; q < 4; ++q) {
                const __m128i bytes8 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 8 * q));
                acc[q] = _mm256_add_ps(acc[q], _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(bytes8)), w));
            }
        }
        for (uint32_t suspects = RoundOcts<4>(acc, row.out + b0, row.guard); suspects != 0; suspects &= suspects - 1)
            row.out[b0 + __builtin_ctz(suspects)] = row.Exact(b0 + __builtin_ctz(suspects));
    }
    return b0;
}
#endif

// Bytes [from, bytes) of the row, 16 at a time where SSE2 is, the rest one by one.
void SumAndRound(const Row& row, int from, int bytes, float* sums)
{
    int b0 = from;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; b0 + 16 <= bytes; b0 += 16) {
        __m128 a0 = _mm_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
        for (const TContributor* c = row.first; c != row.last; ++c) {
            const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row.rows[c->Pixel] + b0));
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
        for (const TContributor* c = row.first; c != row.last; ++c)
            sum += static_cast<float>(row.rows[c->Pixel][b]) * c->Weight;
        sums[b] = sum;
    }
    FinishRow(sums + from, row.out + from, bytes - from, &row.guard, false, [&](int b) { return row.Exact(from + b); });
}

}  // namespace

void VerticalPass(const TBitmap& work, TBitmap& dst, const ContributorTable& table)
{
    const int dh = dst.Height();
    const int bytes = kPixelBytes * dst.Width();
    const auto rows = RowsOf<const uint8_t*>(work);
    const auto out = RowsOf<uint8_t*>(dst);
    const bool avx2 = ActiveVectorPath() == TVectorPath::Avx2;
    const double rowCost = static_cast<double>(bytes) * table.items.size() / std::max(1, dh);
    ForEachRowBand(dh, MinUnits(rowCost), [&](int firstRow, int lastRow) {
        std::vector<float> sums(bytes);
        for (int i = firstRow; i < lastRow; ++i) {
            const Row row{rows.data(), table.begin(i), table.end(i), table.guard[i], out[i]};
            int done = 0;
#ifdef __SSE2__
            if (avx2)
                done = SumAndRoundAvx2(row, bytes);
#endif
            SumAndRound(row, done, bytes, sums.data());
        }
    });
}

}  // namespace resampling
