#include "PixelMoves.h"

#include "BlockTransposeAvx2.h"
#include "RowBands.h"
#include "VectorPath.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

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
    TransposeRowsAvx2(s, sStride, [&](int j, __m256i bytes) TARGET_AVX2 {
        uint8_t* out = d + j * dStride;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(bytes, 1));
    });
}

// The source is walked in tiles a few hundred rows high and a few cache lines wide: down a strip
// of source columns tile by tile, row by row within a tile and block by block along a row. A
// strip's pixels become a band of destination rows, and a tile's pixels the next stretch of
// each of those rows. The tile's blocks are moved into a buffer that stays in the cache; the
// buffer's rows then go to the destination in whole cache lines with streaming stores, which
// write a line without reading it first, as a large memory copy does (blocks stored straight into
// the destination would each read the lines they write a part of). The part line at the end of
// a stretch waits in the buffer for the next tile of the strip to fill it. While one tile is moved,
// the source lines of the next are fetched ahead, a few rows at each step, as the processor
// cannot guess these short runs.
constexpr int kTileRows = 256, kTileColumns = 128;
constexpr int kLine = 64;

inline void FetchAhead(const uint8_t* from, int bytes)
{
    for (int b = 0; b < bytes; b += kLine)
        _mm_prefetch(reinterpret_cast<const char*>(from + b), _MM_HINT_T0);
}

// A line of 64 bytes with streaming stores; to is aligned to a line.
inline void StreamLine(const uint8_t* from, uint8_t* to)
{
    for (int q = 0; q < kLine; q += 16)
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + q), _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + q)));
}

// One destination row of a strip: its stretches arrive tile by tile in a buffer row that has a
// line of room before them.
class RowStream {
public:
    // The row's next stretch, of bytes at buffer (with kLine bytes of room before it), for the
    // destination at to, which follows the last stretch.
    void Write(uint8_t* buffer, uint8_t* to, size_t bytes)
    {
        if (!started_) {
            // The row's first line may begin before the strip: its bytes there are written plainly.
            const size_t head = std::min(bytes, (kLine - reinterpret_cast<uintptr_t>(to) % kLine) % kLine);
            std::memcpy(to, buffer, head);
            buffer += head;
            to += head;
            bytes -= head;
            started_ = true;
        } else {
            // The last stretch's part line goes in front of this one.
            buffer -= pending_;
            std::memcpy(buffer, line_, pending_);
            to -= pending_;
            bytes += pending_;
        }
        size_t b = 0;
        for (; b + kLine <= bytes; b += kLine)
            StreamLine(buffer + b, to + b);
        pending_ = bytes - b;
        std::memcpy(line_, buffer + b, pending_);
    }
    // The part line left at the end of the row, written plainly.
    void Finish(uint8_t* end) const { std::memcpy(end - pending_, line_, pending_); }

private:
    bool started_ = false;
    size_t pending_ = 0;
    uint8_t line_[kLine];
};

void TurnBlocks(const TBitmap& src, TBitmap& dst, bool clockwise, TBlockTranspose move)
{
    const int w = src.Width(), h = src.Height();
    const int wb = w / kBlock * kBlock, hb = h / kBlock * kBlock;
    if (wb > 0 && hb > 0) {
        const uint8_t* s0 = src.ScanLine(0);
        uint8_t* d0 = dst.ScanLine(0);
        const ptrdiff_t ss = src.BytesPerLine(), ds = dst.BytesPerLine();
        // The k-th block row of the walk (from 0 to hb / 8 - 1) is at source row rowOf(k); its
        // blocks land in the destination at column dstColumn(k), which grows by 8 with k either way.
        auto rowOf = [&](int k) { return clockwise ? hb - kBlock * (k + 1) : kBlock * k; };
        auto dstColumn = [&](int k) { return clockwise ? h - hb + kBlock * k : kBlock * k; };
        // Destination row of source column x.
        auto dstRowIndex = [&](int x) { return clockwise ? x : w - 1 - x; };
        const int blockRows = hb / kBlock, tileBlockRows = kTileRows / kBlock;
        const int strips = (wb + kTileColumns - 1) / kTileColumns;
        constexpr ptrdiff_t kBufferStride = kLine + kPixelBytes * kTileRows;
        // Strips write apart from each other: they are shared among a few threads (more only
        // wait on the memory), a thread taking 8 MB or more.
        const int minStrips = std::max(1, (8 << 20) / (kPixelBytes * kTileColumns * hb));
        ForEachRowBand(strips, minStrips, [&](int firstStrip, int lastStrip) {
            std::vector<uint8_t> buffer(static_cast<size_t>(kTileColumns) * kBufferStride);
            for (int tx = kTileColumns * firstStrip; tx < std::min(wb, kTileColumns * lastStrip); tx += kTileColumns) {
                const int txEnd = std::min(wb, tx + kTileColumns);
                // Buffer row j is destination row firstRow + j, whichever way the turn goes.
                const int firstRow = std::min(dstRowIndex(tx), dstRowIndex(txEnd - 1));
                RowStream rows[kTileColumns];
                for (int tk = 0; tk < blockRows; tk += tileBlockRows) {
                    const int tkEnd = std::min(blockRows, tk + tileBlockRows);
                    for (int k = tk; k < tkEnd; ++k) {
                        const int y = rowOf(k);
                        if (k + tileBlockRows < blockRows)
                            for (int r = 0; r < kBlock; ++r)
                                FetchAhead(s0 + (rowOf(k + tileBlockRows) + r) * ss + kPixelBytes * tx, kPixelBytes * (txEnd - tx));
                        uint8_t* column = buffer.data() + kLine + kPixelBytes * kBlock * (k - tk);
                        for (int x = tx; x < txEnd; x += kBlock) {
                            uint8_t* to = column + (dstRowIndex(x) - firstRow) * kBufferStride;
                            if (clockwise)
                                move(s0 + (y + kBlock - 1) * ss + kPixelBytes * x, -ss, to, kBufferStride);
                            else
                                move(s0 + y * ss + kPixelBytes * x, ss, to, -kBufferStride);
                        }
                    }
                    const size_t bytes = static_cast<size_t>(kPixelBytes) * kBlock * (tkEnd - tk);
                    for (int j = 0; j < txEnd - tx; ++j)
                        rows[j].Write(buffer.data() + j * kBufferStride + kLine, d0 + (firstRow + j) * ds + kPixelBytes * dstColumn(tk), bytes);
                }
                for (int j = 0; j < txEnd - tx; ++j)
                    rows[j].Finish(d0 + (firstRow + j) * ds + kPixelBytes * dstColumn(blockRows));
            }
            _mm_sfence();  // the streaming stores are seen before the thread is done
        }, kMemoryBoundThreads);
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

TBlockTranspose BlockTranspose()
{
#ifdef OMBRELLE_X86
    switch (ActiveVectorPath()) {
    case TVectorPath::Avx2: return TransposeBlockAvx2;
    case TVectorPath::Ssse3: return TransposeBlockSsse3;
    case TVectorPath::Plain: break;
    }
#endif
    return nullptr;
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
