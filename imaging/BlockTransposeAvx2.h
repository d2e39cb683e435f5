#pragma once
// The 8 x 8 block transpose of 3-byte pixels on 8-lane vectors, shared by the quarter turn and
// the resampler. The block is read as 8 rows of 8 pixels (s + i * sStride + 3 * j is pixel j of
// row i); transposed row j (pixel j of every source row, in row order) goes to sink(j, bytes),
// its 24 bytes at the start of the register: 16 in the low half, 8 in the high. A row of 3-byte
// pixels is widened to 4-byte lanes by a byte shuffle (its 24 bytes read as two overlapping
// 16-byte loads, so nothing outside the block is read), the lanes are transposed as 32-bit
// words, and each transposed row is narrowed back.
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

template <class Sink>
__attribute__((target("avx2"))) inline void TransposeRowsAvx2(const uint8_t* s, ptrdiff_t sStride, Sink sink)
{
    constexpr int kBlock = 8;
    // Pixels 0 to 3 from the bytes 0 to 15 (low half), 4 to 7 from the bytes 8 to 23 (high half).
    const __m256i widen = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                           4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    __m256i r[kBlock];
    for (int i = 0; i < kBlock; ++i, s += sStride) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 8));
        r[i] = _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1), widen);
    }
    __m256i t[kBlock], u[kBlock];
    for (int i = 0; i < kBlock; i += 2) {
        t[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
        t[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
    }
    for (int i = 0; i < kBlock; i += 4) {
        u[i] = _mm256_unpacklo_epi64(t[i], t[i + 2]);          // columns 0 and 4 of four rows
        u[i + 1] = _mm256_unpackhi_epi64(t[i], t[i + 2]);      // 1 and 5
        u[i + 2] = _mm256_unpacklo_epi64(t[i + 1], t[i + 3]);  // 2 and 6
        u[i + 3] = _mm256_unpackhi_epi64(t[i + 1], t[i + 3]);  // 3 and 7
    }
    // Four lanes back into 12 bytes at the start of each half, and the halves joined.
    const __m256i narrow = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                            0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i pack = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    for (int j = 0; j < kBlock; ++j) {
        const int k = j & 3;
        const __m256i column = j < 4 ? _mm256_permute2x128_si256(u[k], u[4 + k], 0x20)
                                     : _mm256_permute2x128_si256(u[k], u[4 + k], 0x31);
        sink(j, _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(column, narrow), pack));
    }
}
#endif
