#include "PixelMoves.h"

#include "RowBands.h"
#include "VectorPath.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define OMBRELLE_X86 1
#define TARGET_SSSE3 __attribute__((target("ssse3")))
#define TARGET_AVX2 __attribute__((target("avx2")))
#endif

namespace {

constexpr int kPixelBytes = 3;

// ---- plain -----------------------------------------------------------------------------------

// The plain quarter turn walks the source in strips of a few rows: the strip's rows stay in the
// cache while each destination row takes a run of pixels from them.
constexpr int kStrip = 16;

// Moves one pixel with a single 4-byte load and store where the fourth byte is harmless: read
// from a pixel that is not the last of its row, written where the next pixel along the
// destination row is written afterwards.
inline void MovePixel(uint8_t* out, const uint8_t* in, bool wide)
{
    if (wide) {
        uint32_t v;
        std::memcpy(&v, in, 4);
        std::memcpy(out, &v, 4);
    } else {
        std::memcpy(out, in, kPixelBytes);
    }
}

// The source columns [x0, x1) of rows [y0, y1), turned into their places in dst.
template <bool Clockwise>
void TurnRegionPlain(const TBitmap& src, TBitmap& dst, int x0, int x1, int y0, int y1)
{
    const int w = src.Width(), h = src.Height();
    const uint8_t* srcRows[kStrip];
    for (int top = y0; top < y1; top += kStrip) {
        const int n = std::min(y1, top + kStrip) - top;
        // Source rows in the order their pixels are laid along a destination row.
        for (int i = 0; i < n; ++i)
            srcRows[i] = src.ScanLine(Clockwise ? top + n - 1 - i : top + i);
        const int firstColumn = Clockwise ? h - top - n : top;
        for (int x = x0; x < x1; ++x) {
            uint8_t* out = dst.ScanLine(Clockwise ? x : w - 1 - x) + kPixelBytes * firstColumn;
            const int offset = kPixelBytes * x;
            const bool wideRead = x + 1 < w;
            for (int i = 0; i + 1 < n; ++i, out += kPixelBytes)
                MovePixel(out, srcRows[i] + offset, wideRead);
            MovePixel(out, srcRows[n - 1] + offset, false);  // the next pixel may be written already
        }
    }
}

void TurnRegionPlain(const TBitmap& src, TBitmap& dst, bool clockwise, int x0, int x1, int y0, int y1)
{
    if (clockwise)
        TurnRegionPlain<true>(src, dst, x0, x1, y0, y1);
    else
        TurnRegionPlain<false>(src, dst, x0, x1, y0, y1);
}

void ReverseRowPlain(const uint8_t* src, uint8_t* dst, int from, int width)
{
    for (int x = from; x < width; ++x)
        std::memcpy(dst + kPixelBytes * x, src + kPixelBytes * (width - 1 - x), kPixelBytes);
}

#ifdef OMBRELLE_X86

// ---- blocks of 8 x 8 pixels ------------------------------------------------------------------
// A block is read as 8 rows of 8 pixels (s + i * sStride + 3 * j is pixel j of row i) and written
// transposed (pixel i of row j at d + j * dStride + 3 * i). Each row of 3-byte pixels is widened
// to 4-byte lanes by a byte shuffle, the lanes are transposed as 32-bit words, and each written
// row is narrowed back by shuffles. A row's 24 bytes are read as two overlapping 16-byte loads
// (bytes 0 to 15 and 8 to 23), so nothing outside the block is read or written.
constexpr int kBlock = 8;

// Pixels 0 to 3 from the bytes 0 to 15, and 4 to 7 from the bytes 8 to 23, each into 4-byte lanes.
#define WIDEN_LOW 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1
#define WIDEN_HIGH 4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1
// Four lanes back into 12 bytes at the start of a register.
#define NARROW 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1

TARGET_SSSE3 inline void Transpose4(__m128i& a, __m128i& b, __m128i& c, __m128i& d)
{
    const __m128i t0 = _mm_unpacklo_epi32(a, b), t1 = _mm_unpacklo_epi32(c, d);
    const __m128i t2 = _mm_unpackhi_epi32(a, b), t3 = _mm_unpackhi_epi32(c, d);
    a = _mm_unpacklo_epi64(t0, t1);
    b = _mm_unpackhi_epi64(t0, t1);
    c = _mm_unpacklo_epi64(t2, t3);
    d = _mm_unpackhi_epi64(t2, t3);
}

TARGET_SSSE3 void TransposeBlockSsse3(const uint8_t* s, ptrdiff_t sStride, uint8_t* d, ptrdiff_t dStride)
{
    const __m128i widenLow = _mm_setr_epi8(WIDEN_LOW), widenHigh = _mm_setr_epi8(WIDEN_HIGH);
    __m128i left[kBlock], right[kBlock];  // pixels 0 to 3 and 4 to 7 of each row
    for (int i = 0; i < kBlock; ++i, s += sStride) {
        left[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), widenLow);
        right[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 8)), widenHigh);
    }
    // After the four 4 x 4 transposes, left[j] holds rows 0 to 3 of column j (j < 4) and left[4 + j]
    // rows 4 to 7; right[] the same for columns 4 to 7.
    Transpose4(left[0], left[1], left[2], left[3]);
    Transpose4(left[4], left[5], left[6], left[7]);
    Transpose4(right[0], right[1], right[2], right[3]);
    Transpose4(right[4], right[5], right[6], right[7]);
    const __m128i narrow = _mm_setr_epi8(NARROW);
    const __m128i narrowTail = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 2, 4);
    const __m128i narrowRest = _mm_setr_epi8(5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, -1, -1, -1, -1);
    for (int j = 0; j < kBlock; ++j, d += dStride) {
        const __m128i first = j < 4 ? left[j] : right[j - 4];        // rows 0 to 3
        const __m128i second = j < 4 ? left[4 + j] : right[j];       // rows 4 to 7
        const __m128i head = _mm_or_si128(_mm_shuffle_epi8(first, narrow), _mm_shuffle_epi8(second, narrowTail));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), head);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm_shuffle_epi8(second, narrowRest));
    }
}

TARGET_AVX2 void TransposeBlockAvx2(const uint8_t* s, ptrdiff_t sStride, uint8_t* d, ptrdiff_t dStride)
{
    // A whole row of 8 pixels in one register: bytes 0 to 15 in the low half, 8 to 23 in the high.
    const __m256i widen = _mm256_setr_epi8(WIDEN_LOW, WIDEN_HIGH);
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
        u[i] = _mm256_unpacklo_epi64(t[i], t[i + 2]);      // columns 0 and 4 of four rows
        u[i + 1] = _mm256_unpackhi_epi64(t[i], t[i + 2]);  // 1 and 5
        u[i + 2] = _mm256_unpacklo_epi64(t[i + 1], t[i + 3]);  // 2 and 6
        u[i + 3] = _mm256_unpackhi_epi64(t[i + 1], t[i + 3]);  // 3 and 7
    }
    const __m256i narrow = _mm256_setr_epi8(NARROW, NARROW);
    const __m256i pack = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    for (int j = 0; j < kBlock; ++j) {
        const int k = j & 3;
        const __m256i column = j < 4 ? _mm256_permute2x128_si256(u[k], u[4 + k], 0x20)
                                     : _mm256_permute2x128_si256(u[k], u[4 + k], 0x31);
        const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(column, narrow), pack);
        uint8_t* out = d + j * dStride;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(bytes, 1));
    }
}

using BlockMove = void (*)(const uint8_t*, ptrdiff_t, uint8_t*, ptrdiff_t);

// The source is walked in tiles a few hundred rows high and a few cache lines wide, row by
// row within a tile and block by block along a row: the tile's source and destination lines
// stay in the cache while its blocks are moved. While one tile is moved, the lines of the next
// are fetched ahead, a few rows at each step, as the processor cannot guess these short runs.
// A clockwise turn walks the rows upwards, so that each destination row is still written from
// left to right.
constexpr int kTileRows = 256, kTileColumns = 64;
constexpr int kLine = 64;

inline void FetchAhead(const uint8_t* from, int bytes)
{
    for (int b = 0; b < bytes; b += kLine)
        _mm_prefetch(reinterpret_cast<const char*>(from + b), _MM_HINT_T0);
}

void TurnBlocks(const TBitmap& src, TBitmap& dst, bool clockwise, BlockMove move)
{
    const int w = src.Width(), h = src.Height();
    const int wb = w / kBlock * kBlock, hb = h / kBlock * kBlock;
    if (wb > 0 && hb > 0) {
        const uint8_t* s0 = src.ScanLine(0);
        uint8_t* d0 = dst.ScanLine(0);
        const ptrdiff_t ss = src.BytesPerLine(), ds = dst.BytesPerLine();
        // The k-th block row of the walk (from 0 to hb / 8 - 1) is at source row RowOf(k).
        auto rowOf = [&](int k) { return clockwise ? hb - kBlock * (k + 1) : kBlock * k; };
        // Destination row of source column x, and column of the block row at source row y.
        auto dstRow = [&](int x) { return d0 + (clockwise ? x : w - 1 - x) * ds; };
        auto dstColumn = [&](int y) { return clockwise ? h - kBlock - y : y; };
        const int blockRows = hb / kBlock, tileBlockRows = kTileRows / kBlock;
        // Bands of block rows write apart from each other: they run on a few threads, each band
        // of at least a megapixel.
        const int minBand = std::max(tileBlockRows, (1 << 20) / (kBlock * wb));
        ForEachRowBand(blockRows, minBand, [&](int bandFirst, int bandLast) {
            for (int tk = bandFirst; tk < bandLast; tk += tileBlockRows) {
                const int tkEnd = std::min(bandLast, tk + tileBlockRows);
                for (int tx = 0; tx < wb; tx += kTileColumns) {
                    const int txEnd = std::min(wb, tx + kTileColumns);
                    const int nx = txEnd, nxEnd = std::min(wb, nx + kTileColumns);
                    // The next tile's destination rows, spread over this tile's block rows.
                    const int perStep = (nxEnd - nx + (tkEnd - tk) - 1) / (tkEnd - tk);
                    for (int k = tk; k < tkEnd; ++k) {
                        const int y = rowOf(k);
                        if (nx < nxEnd) {
                            for (int r = 0; r < kBlock; ++r)
                                FetchAhead(s0 + (y + r) * ss + kPixelBytes * nx, kPixelBytes * (nxEnd - nx));
                            const int first = nx + perStep * (k - tk);
                            // The tile's first block row is the leftmost in the destination either way.
                            for (int c = first; c < std::min(nxEnd, first + perStep); ++c)
                                FetchAhead(dstRow(c) + kPixelBytes * dstColumn(rowOf(tk)), kPixelBytes * kBlock * (tkEnd - tk));
                        }
                        for (int x = tx; x < txEnd; x += kBlock) {
                            if (clockwise)
                                move(s0 + (y + kBlock - 1) * ss + kPixelBytes * x, -ss, dstRow(x) + kPixelBytes * dstColumn(y), ds);
                            else
                                move(s0 + y * ss + kPixelBytes * x, ss, dstRow(x) + kPixelBytes * dstColumn(y), -ds);
                        }
                    }
                }
            }
        });
    }
    // What the blocks leave: the columns right of the last block, then the rows below it.
    TurnRegionPlain(src, dst, clockwise, wb, w, 0, h);
    TurnRegionPlain(src, dst, clockwise, 0, wb, hb, h);
}

// ---- reversed rows -----------------------------------------------------------------------------
// Five pixels (15 bytes) reversed by one shuffle. The 16 bytes are read from one byte before the
// five pixels and written from their place, the sixteenth written byte being the next group's
// first: so a group is moved this way only when a source pixel lies before it and a destination
// pixel after it; the rest of the row goes the plain way.
constexpr int kGroup = 5;
#define REVERSE_FIVE 13, 14, 15, 10, 11, 12, 7, 8, 9, 4, 5, 6, 1, 2, 3, -1

TARGET_SSSE3 void ReverseRowSsse3(const uint8_t* src, uint8_t* dst, int width)
{
    const __m128i reverse = _mm_setr_epi8(REVERSE_FIVE);
    int x = 0;
    for (; x + kGroup + 1 <= width; x += kGroup) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + kPixelBytes * (width - kGroup - x) - 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + kPixelBytes * x), _mm_shuffle_epi8(in, reverse));
    }
    ReverseRowPlain(src, dst, x, width);
}

// Two groups of five at once, one in each half of the register.
TARGET_AVX2 void ReverseRowAvx2(const uint8_t* src, uint8_t* dst, int width)
{
    const __m256i reverse = _mm256_setr_epi8(REVERSE_FIVE, REVERSE_FIVE);
    int x = 0;
    for (; x + 2 * kGroup + 1 <= width; x += 2 * kGroup) {
        const uint8_t* in = src + kPixelBytes * (width - kGroup - x) - 1;
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in - kPixelBytes * kGroup));
        const __m256i out = _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1), reverse);
        uint8_t* o = dst + kPixelBytes * x;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(out));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + kPixelBytes * kGroup), _mm256_extracti128_si256(out, 1));
    }
    ReverseRowSsse3(src, dst + kPixelBytes * x, width - x);
}

#endif  // OMBRELLE_X86

}  // namespace

void TurnQuarter(const TBitmap& Src, TBitmap& Dst, bool Clockwise)
{
#ifdef OMBRELLE_X86
    switch (ActiveVectorPath()) {
    case TVectorPath::Avx2: return TurnBlocks(Src, Dst, Clockwise, TransposeBlockAvx2);
    case TVectorPath::Ssse3: return TurnBlocks(Src, Dst, Clockwise, TransposeBlockSsse3);
    case TVectorPath::Plain: break;
    }
#endif
    TurnRegionPlain(Src, Dst, Clockwise, 0, Src.Width(), 0, Src.Height());
}

void ReverseRow(const uint8_t* Src, uint8_t* Dst, int Width)
{
#ifdef OMBRELLE_X86
    switch (ActiveVectorPath()) {
    case TVectorPath::Avx2: return ReverseRowAvx2(Src, Dst, Width);
    case TVectorPath::Ssse3: return ReverseRowSsse3(Src, Dst, Width);
    case TVectorPath::Plain: break;
    }
#endif
    ReverseRowPlain(Src, Dst, 0, Width);
}
