// The first pass of the resampler: source rows into work rows. A group of source rows goes
// through each contributor list together: the same weights, and independent chains of additions
// for the processor to overlap. The group's channels are laid out pixel by pixel (row 0's three
// channels, row 1's, ...), so that the vector lanes are all in use: four rows fill three 4-lane
// vectors, eight rows three 8-lane or six 4-lane ones. Each lane adds its products in
// contributor order, as the plain sum does. Groups are shared among threads.
#include "BlockTransposeAvx2.h"
#include "PixelMoves.h"
#include "ResampleSums.h"
#include "RowBands.h"
#include "VectorPath.h"

#ifdef __SSE2__
#include <immintrin.h>
#endif

namespace resampling {
namespace {

using v4sf = float __attribute__((vector_size(16)));
using v8sf = float __attribute__((vector_size(32)));

// The sums of one output pixel for every row of the group, in lane order.
template <int Rows, class Vec>
inline void SumPixel(const float* lanes, const TContributor* c, const TContributor* last, Vec* acc)
{
    constexpr int kPerPixel = kPixelBytes * Rows;
    constexpr int kLanes = sizeof(Vec) / sizeof(float);
    constexpr int kVectors = kPerPixel / kLanes;
    static_assert(kVectors * kLanes == kPerPixel);
    for (int v = 0; v < kVectors; ++v)
        acc[v] = Vec{};
    for (; c != last; ++c) {
        const float* at = lanes + static_cast<size_t>(kPerPixel) * c->Pixel;
        const float w = c->Weight;
        for (int v = 0; v < kVectors; ++v) {
            Vec x;
            std::memcpy(&x, at + kLanes * v, sizeof x);
            acc[v] += x * w;
        }
    }
}

// Groups of rows: Rows source rows (a short last group repeats its last row) and the work rows
// they become.
template <int Rows, class Work>
void ForEachGroup(const TBitmap& src, TBitmap& work, const ContributorTable& table, Work workOnGroup)
{
    const int sw = src.Width(), sh = src.Height();
    const auto in = RowsOf<const uint8_t*>(src);
    const auto out = RowsOf<uint8_t*>(work);
    const int groups = (sh + Rows - 1) / Rows;
    const double groupCost = static_cast<double>(Rows) * kPixelBytes * (table.items.size() + sw);
    ForEachRowBand(groups, MinUnits(groupCost), [&](int firstGroup, int lastGroup) {
        auto state = workOnGroup.NewState();
        for (int k0 = Rows * firstGroup; k0 < std::min(sh, Rows * lastGroup); k0 += Rows) {
            const int rows = std::min(Rows, sh - k0);
            const uint8_t* s[Rows];
            for (int r = 0; r < Rows; ++r)
                s[r] = in[k0 + std::min(r, rows - 1)];
            workOnGroup(state, s, rows, &out[k0]);
        }
    });
}

// The group's channels into lanes, as bytes and then as floats. Plainly, pixel by pixel.
template <int Rows>
void BytesIntoLanes(const uint8_t* const* s, int from, int sw, uint8_t* bytes)
{
    constexpr int kPerPixel = kPixelBytes * Rows;
    for (int p = from; p < sw; ++p)
        for (int r = 0; r < Rows; ++r)
            for (int ch = 0; ch < kPixelBytes; ++ch)
                bytes[kPerPixel * p + kPixelBytes * r + ch] = s[r][kPixelBytes * p + ch];
}

void WidenPlain(const uint8_t* in, float* out, size_t count)
{
    for (size_t b = 0; b < count; ++b)
        out[b] = in[b];
}

// ---- four rows, the plain path: the sums go back into row order and are rounded row by row ----

struct FourRows {
    const ContributorTable& table;
    int sw, dw;
    std::vector<float> guard;  // for every byte of a row

    FourRows(const ContributorTable& t, int sourceWidth, int width) : table(t), sw(sourceWidth), dw(width), guard(kPixelBytes * width)
    {
        for (size_t b = 0; b < guard.size(); ++b)
            guard[b] = table.guard[b / kPixelBytes];
    }

    struct State {
        std::vector<uint8_t> bytes;
        std::vector<float> lanes, sums;
    };
    State NewState() const
    {
        return {std::vector<uint8_t>(static_cast<size_t>(12) * sw), std::vector<float>(static_cast<size_t>(12) * sw),
                std::vector<float>(static_cast<size_t>(12) * dw)};
    }

    void operator()(State& st, const uint8_t* const* s, int rows, uint8_t* const* out) const
    {
        const size_t rowBytes = static_cast<size_t>(kPixelBytes) * dw;
        BytesIntoLanes<4>(s, 0, sw, st.bytes.data());
        WidenPlain(st.bytes.data(), st.lanes.data(), st.bytes.size());
        for (int i = 0; i < dw; ++i) {
            float sums[12];
            v4sf acc[3];
            SumPixel<4, v4sf>(st.lanes.data(), table.begin(i), table.end(i), acc);
            std::memcpy(sums, acc, sizeof sums);
            for (int r = 0; r < 4; ++r)
                std::memcpy(&st.sums[r * rowBytes + kPixelBytes * i], sums + kPixelBytes * r, kPixelBytes * sizeof(float));
        }
        for (int r = 0; r < rows; ++r) {
            const uint8_t* row = s[r];
            FinishRow(st.sums.data() + r * rowBytes, out[r], static_cast<int>(rowBytes), guard.data(), true, [&](int b) {
                const int i = b / kPixelBytes, ch = b % kPixelBytes;
                return ExactByte(table.begin(i), table.end(i), [&](int32_t p) { return row[kPixelBytes * p + ch]; });
            });
        }
    }
};

#ifdef __SSE2__

// ---- eight rows, the vector paths ----------------------------------------------------------------
// The group goes into lanes through the 8 x 8 block transposes of the quarter turn; each output
// pixel's 24 sums are rounded where they lie, under the pixel's one guard, and the bytes go back
// into the eight work rows through the same transposes.

// Called only from functions that flatten it into themselves, on their vector path.
template <class Vec, class MachineVec, class Round>
inline void SumAndRound8(const float* lanes, const ContributorTable& table, int dw, const uint8_t* const* s, uint8_t* out,
                         Round round)
{
    constexpr int kPerPixel = kPixelBytes * 8;
    constexpr int kVectors = kPerPixel * sizeof(float) / sizeof(Vec);
    for (int i = 0; i < dw; ++i) {
        Vec acc[kVectors];
        SumPixel<8, Vec>(lanes, table.begin(i), table.end(i), acc);
        MachineVec sums[kVectors];
        std::memcpy(sums, acc, sizeof sums);
        uint8_t* bytes = out + kPerPixel * i;
        for (uint32_t suspects = round(sums, bytes, table.guard[i]); suspects != 0; suspects &= suspects - 1) {
            const int lane = __builtin_ctz(suspects);
            const uint8_t* row = s[lane / kPixelBytes];
            const int ch = lane % kPixelBytes;
            bytes[lane] = ExactByte(table.begin(i), table.end(i), [&](int32_t p) { return row[kPixelBytes * p + ch]; });
        }
    }
}

__attribute__((flatten)) void SumAndRound8Sse(const float* lanes, const ContributorTable& table, int dw,
                                               const uint8_t* const* s, uint8_t* out)
{
    SumAndRound8<v4sf, __m128>(lanes, table, dw, s, out, [](const __m128* sums, uint8_t* bytes, float guard) {
        return RoundQuads<6>(sums, bytes, [&](int) { return _mm_set1_ps(guard); });
    });
}

__attribute__((target("avx2"), flatten)) void SumAndRound8Avx2(const float* lanes, const ContributorTable& table, int dw,
                                                               const uint8_t* const* s, uint8_t* out)
{
    SumAndRound8<v8sf, __m256>(lanes, table, dw, s, out, [](const __m256* sums, uint8_t* bytes, float guard)
                                   __attribute__((target("avx2"))) { return RoundOcts<3>(sums, bytes, guard); });
}

// The group into float lanes: full groups through the block transposes, the rest pixel by pixel.
void FillLanesSse(const uint8_t* const* s, int rows, int sw, uint8_t* bytes, float* lanes)
{
    constexpr int kPerPixel = kPixelBytes * 8;
    const TBlockTranspose transpose = BlockTranspose();
    int p = 0;
    if (rows == 8)
        for (; p + 8 <= sw; p += 8)
            transpose(s[0] + kPixelBytes * p, s[1] - s[0], bytes + kPerPixel * p, kPerPixel);
    BytesIntoLanes<8>(s, p, sw, bytes);
    WidenPlain(bytes, lanes, static_cast<size_t>(kPerPixel) * sw);
}

__attribute__((target("avx2"))) inline __m256 Widen8(__m128i bytes)
{
    return _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(bytes));
}

// Each transposed row (one source pixel of the eight rows) is widened to floats in registers.
__attribute__((target("avx2"))) void FillLanesAvx2(const uint8_t* const* s, int rows, int sw, uint8_t* bytes, float* lanes)
{
    constexpr int kPerPixel = kPixelBytes * 8;
    int p = 0;
    if (rows == 8)
        for (; p + 8 <= sw; p += 8)
            TransposeRowsAvx2(s[0] + kPixelBytes * p, s[1] - s[0], [&](int j, __m256i row) __attribute__((target("avx2"))) {
                float* out = lanes + kPerPixel * (p + j);
                const __m128i low = _mm256_castsi256_si128(row);
                _mm256_storeu_ps(out, Widen8(low));
                _mm256_storeu_ps(out + 8, Widen8(_mm_srli_si128(low, 8)));
                _mm256_storeu_ps(out + 16, Widen8(_mm256_extracti128_si256(row, 1)));
            });
    BytesIntoLanes<8>(s, p, sw, bytes);
    WidenPlain(bytes + kPerPixel * p, lanes + kPerPixel * p, static_cast<size_t>(kPerPixel) * (sw - p));
}

struct EightRows {
    const ContributorTable& table;
    int sw, dw;
    TBlockTranspose transpose;
    void (*fillLanes)(const uint8_t* const*, int, int, uint8_t*, float*);
    void (*sumAndRound)(const float*, const ContributorTable&, int, const uint8_t* const*, uint8_t*);

    struct State {
        std::vector<uint8_t> bytes, out;
        std::vector<float> lanes;
    };
    State NewState() const
    {
        return {std::vector<uint8_t>(static_cast<size_t>(24) * sw), std::vector<uint8_t>(static_cast<size_t>(24) * dw),
                std::vector<float>(static_cast<size_t>(24) * sw)};
    }

    void operator()(State& st, const uint8_t* const* s, int rows, uint8_t* const* out) const
    {
        constexpr int kPerPixel = kPixelBytes * 8;
        fillLanes(s, rows, sw, st.bytes.data(), st.lanes.data());
        sumAndRound(st.lanes.data(), table, dw, s, st.out.data());
        int i = 0;
        if (rows == 8)
            for (; i + 8 <= dw; i += 8)
                transpose(st.out.data() + kPerPixel * i, kPerPixel, out[0] + kPixelBytes * i, out[1] - out[0]);
        for (; i < dw; ++i)
            for (int r = 0; r < rows; ++r)
                std::memcpy(out[r] + kPixelBytes * i, st.out.data() + kPerPixel * i + kPixelBytes * r, kPixelBytes);
    }
};

#endif  // __SSE2__

}  // namespace

void HorizontalPass(const TBitmap& src, TBitmap& work, const ContributorTable& table)
{
    const int sw = src.Width(), dw = work.Width();
#ifdef __SSE2__
    switch (ActiveVectorPath()) {
    case TVectorPath::Avx2:
        return ForEachGroup<8>(src, work, table, EightRows{table, sw, dw, BlockTranspose(), FillLanesAvx2, SumAndRound8Avx2});
    case TVectorPath::Ssse3:
        return ForEachGroup<8>(src, work, table, EightRows{table, sw, dw, BlockTranspose(), FillLanesSse, SumAndRound8Sse});
    case TVectorPath::Plain: break;
    }
#endif
    ForEachGroup<4>(src, work, table, FourRows(table, sw, dw));
}

}  // namespace resampling
