#include "SharpenRows.h"

#include "VectorPath.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define OMBRELLE_X86 1
#endif

namespace {

constexpr int kPixelBytes = 3;

// Channel bytes [from, last) of the row.
void SharpenBytesPlain(const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out, int from, int last,
                       uint32_t ia, uint32_t ib)
{
    for (int b = from; b < last; ++b) {
        const uint32_t c = mid[b];
        const uint32_t sum = up[b] + mid[b - kPixelBytes] + c + mid[b + kPixelBytes] + down[b];
        out[b] = ClampByte(static_cast<int>((c * ia + 32767) >> 16) - static_cast<int>((ib * sum + 32767) >> 16));
    }
}

#ifdef OMBRELLE_X86

// (x * k + 32767) shr 16 in 16-bit lanes, for x below 2^11 and k below 2^19, exactly as on
// 32-bit values: k = kHigh * 65536 + kLow gives x * kHigh plus the high half of x * kLow, plus 1
// when the low half with 32767 added carries, that is when it is at least 32769. The low half
// is compared as a signed value after flipping its top bit.
struct Weight16 {
    uint16_t High, Low;
    explicit Weight16(uint32_t k) : High(static_cast<uint16_t>(k >> 16)), Low(static_cast<uint16_t>(k)) {}
};

inline __m128i ScaleRound(__m128i x, __m128i kHigh, __m128i kLow, __m128i topBit)
{
    const __m128i high = _mm_mulhi_epu16(x, kLow);
    const __m128i carry = _mm_cmpgt_epi16(_mm_xor_si128(_mm_mullo_epi16(x, kLow), topBit), _mm_setzero_si128());
    return _mm_sub_epi16(_mm_add_epi16(_mm_mullo_epi16(x, kHigh), high), carry);
}

__attribute__((target("avx2"))) inline __m256i ScaleRound(__m256i x, __m256i kHigh, __m256i kLow, __m256i topBit)
{
    const __m256i high = _mm256_mulhi_epu16(x, kLow);
    const __m256i carry = _mm256_cmpgt_epi16(_mm256_xor_si256(_mm256_mullo_epi16(x, kLow), topBit), _mm256_setzero_si256());
    return _mm256_sub_epi16(_mm256_add_epi16(_mm256_mullo_epi16(x, kHigh), high), carry);
}

inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// 16 channel bytes at a time in two halves of eight 16-bit lanes; the difference of the two
// terms lies between -1275 and 1530, and packing with unsigned saturation clamps it to a byte.
void SharpenBytesSse2(const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out, int from, int last,
                      uint32_t ia, uint32_t ib)
{
    const Weight16 a(ia), s(ib);
    const __m128i aHigh = _mm_set1_epi16(static_cast<short>(a.High)), aLow = _mm_set1_epi16(static_cast<short>(a.Low));
    const __m128i sHigh = _mm_set1_epi16(static_cast<short>(s.High)), sLow = _mm_set1_epi16(static_cast<short>(s.Low));
    const __m128i topBit = _mm_set1_epi16(static_cast<short>(0x8000)), zero = _mm_setzero_si128();
    int b = from;
    for (; b + 16 <= last; b += 16) {
        const __m128i c = Load(mid + b), u = Load(up + b), d = Load(down + b);
        const __m128i l = Load(mid + b - kPixelBytes), r = Load(mid + b + kPixelBytes);
        __m128i half[2];
        for (int i = 0; i < 2; ++i) {
            auto widen = [&](__m128i v) { return i == 0 ? _mm_unpacklo_epi8(v, zero) : _mm_unpackhi_epi8(v, zero); };
            const __m128i centre = widen(c);
            const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_add_epi16(widen(u), widen(l)), _mm_add_epi16(centre, widen(r))), widen(d));
            half[i] = _mm_sub_epi16(ScaleRound(centre, aHigh, aLow, topBit), ScaleRound(sum, sHigh, sLow, topBit));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + b), _mm_packus_epi16(half[0], half[1]));
    }
    SharpenBytesPlain(up, mid, down, out, b, last, ia, ib);
}

__attribute__((target("avx2"))) inline __m256i Widen(const uint8_t* p)
{
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

// 32 channel bytes at a time in two halves of sixteen 16-bit lanes.
__attribute__((target("avx2"))) void SharpenBytesAvx2(const uint8_t* up, const uint8_t* mid, const uint8_t* down,
                                                      uint8_t* out, int from, int last, uint32_t ia, uint32_t ib)
{
    const Weight16 a(ia), s(ib);
    const __m256i aHigh = _mm256_set1_epi16(static_cast<short>(a.High)), aLow = _mm256_set1_epi16(static_cast<short>(a.Low));
    const __m256i sHigh = _mm256_set1_epi16(static_cast<short>(s.High)), sLow = _mm256_set1_epi16(static_cast<short>(s.Low));
    const __m256i topBit = _mm256_set1_epi16(static_cast<short>(0x8000));
    int b = from;
    for (; b + 32 <= last; b += 32) {
        __m256i half[2];
        for (int i = 0; i < 2; ++i) {
            const int at = b + 16 * i;
            const __m256i centre = Widen(mid + at);
            const __m256i sum = _mm256_add_epi16(_mm256_add_epi16(_mm256_add_epi16(Widen(up + at), Widen(mid + at - kPixelBytes)),
                                                                  _mm256_add_epi16(centre, Widen(mid + at + kPixelBytes))),
                                                 Widen(down + at));
            half[i] = _mm256_sub_epi16(ScaleRound(centre, aHigh, aLow, topBit), ScaleRound(sum, sHigh, sLow, topBit));
        }
        // Packing works within each 128-bit half; the permute puts the quarters back in order.
        const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(half[0], half[1]), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + b), bytes);
    }
    SharpenBytesSse2(up, mid, down, out, b, last, ia, ib);
}

#endif  // OMBRELLE_X86

}  // namespace

void SharpenRow(const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out, int width, uint32_t ia, uint32_t ib)
{
    const int first = kPixelBytes, last = kPixelBytes * (width - 1);  // inner channel bytes [first, last)
    std::memcpy(out, mid, kPixelBytes);
    std::memcpy(out + last, mid + last, kPixelBytes);
#ifdef OMBRELLE_X86
    switch (ActiveVectorPath()) {
    case TVectorPath::Avx2: return SharpenBytesAvx2(up, mid, down, out, first, last, ia, ib);
    case TVectorPath::Ssse3: return SharpenBytesSse2(up, mid, down, out, first, last, ia, ib);
    case TVectorPath::Plain: break;
    }
#endif
    SharpenBytesPlain(up, mid, down, out, first, last, ia, ib);
}
