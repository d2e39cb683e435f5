// Each record kind and mapping mode, drawn from a small metafile written here, with the pixels
// checked against what the records say.
#include "Graphics.h"
#include "Metafile.h"
#include "MetafileBuilder.h"
#include "MetafileDevice.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kLime = 0x00FF00, kYellow = 0x00FFFF, kWhite = 0xFFFFFF,
                   kBlack = 0, kOlive = 0x14D2C8;  // RGB(200, 210, 20): no named colour

// What a box of the picture must hold: the colour everywhere, somewhere, or nowhere.
struct Probe {
    int Left, Top, Right, Bottom;
    uint32_t Color;
    enum { All, Some, None } How = All;
};

struct DrawingCase {
    std::string Name;
    std::vector<uint8_t> File;
    std::vector<Probe> Probes;
    QSize Size{100, 50};
};

// ---- 16-bit records ----------------------------------------------------------------------------
int Lo(uint32_t c) { return int(c & 0xFFFF); }
int Hi(uint32_t c) { return int(c >> 16); }
WmfRecord WPen(int style, int width, uint32_t c) { return {0x02FA, {style, width, 0, Lo(c), Hi(c)}}; }
WmfRecord WBrush(int style, uint32_t c, int hatch = 0) { return {0x02FC, {style, Lo(c), Hi(c), hatch}}; }
WmfRecord WSelect(int index) { return {0x012D, {index}}; }
WmfRecord WDelete(int index) { return {0x01F0, {index}}; }
WmfRecord WRect(int l, int t, int r, int b) { return {0x041B, {b, r, t, l}}; }
WmfRecord WMapMode(int mode) { return {0x0103, {mode}}; }
WmfRecord WWindowOrg(int x, int y) { return {0x020B, {y, x}}; }
WmfRecord WWindowExt(int w, int h) { return {0x020C, {h, w}}; }
WmfRecord WViewportOrg(int x, int y) { return {0x020D, {y, x}}; }
WmfRecord WViewportExt(int w, int h) { return {0x020E, {h, w}}; }
WmfRecord WPoly(int function, std::initializer_list<int> xy)
{
    WmfRecord r{function, {int(xy.size() / 2)}};
    r.Words.insert(r.Words.end(), xy);
    return r;
}
WmfRecord WFont(int height, int escapement = 0)
{
    std::vector<uint8_t> face(32, 0);
    const std::string arial = "Arial";
    std::copy(arial.begin(), arial.end(), face.begin());
    WmfRecord r{0x02FB, {height, 0, escapement, escapement, 400, 0, 0, 0, 0}};
    for (int w : WmfWords(face))
        r.Words.push_back(w);
    return r;
}
WmfRecord WExtTextOut(int x, int y, const std::string& text, int options, std::vector<int> rect, std::vector<int> dx)
{
    WmfRecord r{0x0A32, {y, x, int(text.size()), options}};
    r.Words.insert(r.Words.end(), rect.begin(), rect.end());
    for (int w : WmfWords(Bytes(text)))
        r.Words.push_back(w);
    r.Words.insert(r.Words.end(), dx.begin(), dx.end());
    return r;
}
// The first records, then the rest.
template <class Record>
std::vector<Record> Then(std::vector<Record> first, const std::vector<Record>& then)
{
    first.insert(first.end(), then.begin(), then.end());
    return first;
}
// A red brush and no pen, the start of most fill cases.
std::vector<WmfRecord> RedFill(const std::vector<WmfRecord>& then)
{
    return Then({WPen(5, 0, 0), WBrush(0, kRed), WSelect(0), WSelect(1)}, then);
}

// ---- enhanced records -------------------------------------------------------------------------------
EmfRecord EPen(uint32_t index, int style, int width, uint32_t c) { return {38, {index, uint32_t(style), uint32_t(width), 0, c}}; }
EmfRecord EBrush(uint32_t index, uint32_t c) { return {39, {index, 0, c, 0}}; }
EmfRecord ESelect(uint32_t index) { return {37, {index}}; }
EmfRecord ERect(int l, int t, int r, int b) { return {43, {uint32_t(l), uint32_t(t), uint32_t(r), uint32_t(b)}}; }
EmfRecord EPoly16(uint32_t type, std::initializer_list<int> xy)
{
    std::vector<uint8_t> bytes;
    for (int v : xy)
        bytes.insert(bytes.end(), {uint8_t(v), uint8_t(v >> 8)});
    EmfRecord r{type, {0, 0, 100, 50, uint32_t(xy.size() / 2)}};
    for (uint32_t f : EmfFields(bytes))
        r.Fields.push_back(f);
    return r;
}
EmfRecord EXform(uint32_t type, float m11, float m12, float m21, float m22, float dx, float dy, uint32_t mode = 0)
{
    EmfRecord r{type, {}};
    for (float f : {m11, m12, m21, m22, dx, dy})
        r.Fields.push_back(FloatBits(f));
    if (type == 36)
        r.Fields.push_back(mode);
    return r;
}
// A bitmap record whose fixed fields end at 8 + 4 x fields.size(), with the bitmap after them.
EmfRecord EBitmap(uint32_t type, std::vector<uint32_t> fields, const std::vector<uint8_t>& dib, size_t bmiAt, size_t colors = 0)
{
    const uint32_t at = uint32_t(8 + 4 * fields.size()), header = uint32_t(40 + 4 * colors);
    const uint32_t offsets[] = {at, header, at + header, uint32_t(dib.size() - header)};
    std::copy(std::begin(offsets), std::end(offsets), fields.begin() + long(bmiAt));
    for (uint32_t f : EmfFields(dib))
        fields.push_back(f);
    return {type, fields};
}
// StretchDIBits of the whole bitmap into the whole picture.
EmfRecord EStretchDib(const std::vector<uint8_t>& dib, int width, int height, size_t colors = 0)
{
    return EBitmap(81, {0, 0, 100, 50, 0, 0, 0, 0, uint32_t(width), uint32_t(height), 0, 0, 0, 0, 0, gdi::SRCCOPY, 100, 50},
                   dib, 10, colors);
}
// AlphaBlend (with the blend function) or TransparentBlt (with the colour) of a 2 x 1 bitmap into the picture.
EmfRecord EBlend(uint32_t type, uint32_t blendOrColor, const std::vector<uint8_t>& dib)
{
    return EBitmap(type, {0, 0, 100, 50, 0, 0, 100, 50, blendOrColor, 0, 0, FloatBits(1), 0, 0, FloatBits(1), 0, 0, 0, 0, 0, 0, 0, 0, 2, 1},
                   dib, 19);
}

std::vector<EmfRecord> ERedFill(const std::vector<EmfRecord>& then)
{
    return Then({EPen(1, 5, 0, 0), EBrush(2, kRed), ESelect(1), ESelect(2)}, then);
}

std::vector<DrawingCase> MappingCases()
{
    std::vector<DrawingCase> cases = {
        {"AnisotropicWindowFillsThePicture",
         WmfFile(RedFill({WMapMode(8), WWindowOrg(1000, 2000), WWindowExt(2000, 1000), WRect(2000, 2500, 3000, 3000)})),
         {{55, 30, 95, 45, kRed}, {5, 5, 45, 20, kWhite}}},
        {"AnisotropicViewportTakesPartOfThePicture",
         WmfFile(RedFill({WMapMode(8), WWindowExt(10, 10), WViewportOrg(50, 0), WViewportExt(50, 50), WRect(0, 0, 5, 5)})),
         {{52, 2, 73, 23, kRed}, {5, 5, 45, 45, kWhite}, {80, 30, 95, 45, kWhite}}},
        {"IsotropicKeepsUnitsSquare",
         WmfFile(RedFill({WMapMode(7), WWindowExt(100, 100), WViewportExt(100, 50), WRect(0, 0, 100, 100)})),
         {{2, 2, 47, 47, kRed}, {53, 2, 97, 47, kWhite}}},
        {"TextModeMovesByTheWindowOrigin",
         EmfFile(ERedFill({{10, {uint32_t(-20), uint32_t(-10)}}, ERect(0, 0, 10, 10)})),
         {{21, 11, 29, 19, kRed}, {2, 2, 18, 8, kWhite}, {32, 22, 40, 30, kWhite}}},
        // Without a frame or a window the picture is the extent of what its records draw, and a pixel round it.
        {"WithoutFrameOrWindowThePictureIsWhatItsRecordsDraw", WmfFile(RedFill({WRect(10, 10, 60, 40)}), std::nullopt),
         {{2, 2, 49, 29, kRed}}, {52, 32}},
        {"AWorldTransformScalesAndMoves",
         EmfFile(ERedFill({EXform(35, 2, 0, 0, 2, 10, 5), ERect(0, 0, 10, 10)})),
         {{11, 6, 29, 24, kRed}, {32, 27, 40, 35, kWhite}}},
        {"AModifiedWorldTransformAppliesFirst",
         EmfFile(ERedFill({EXform(35, 1, 0, 0, 1, 50, 0), EXform(36, 2, 0, 0, 2, 0, 0, 2), ERect(0, 0, 10, 10)})),
         {{51, 1, 69, 19, kRed}, {72, 5, 80, 15, kWhite}}},
    };
    // The metric and English modes: a quarter of an inch, y growing upward from the viewport origin.
    const std::pair<int, int> modes[] = {{2, 254}, {3, 2540}, {4, 100}, {5, 1000}, {6, 1440}};
    for (auto [mode, perInch] : modes) {
        const int q = perInch / 4;
        const std::vector<Probe> probes = {{12, 18, 32, 38, kRed}, {12, 42, 32, 48, kWhite}, {36, 18, 50, 38, kWhite}};
        cases.push_back({"MetricMode" + std::to_string(mode) + "Wmf",
                         WmfFile(RedFill({WMapMode(mode), WViewportOrg(10, 40), WRect(0, 0, q, q)})), probes});
        cases.push_back({"MetricMode" + std::to_string(mode) + "Emf",
                         EmfFile(ERedFill({{17, {uint32_t(mode)}}, {12, {10, 40}}, ERect(0, 0, q, q)})), probes});
    }
    return cases;
}

std::vector<DrawingCase> ShapeCases()
{
    auto with = [](const std::vector<WmfRecord>& then) {
        return Then({WPen(0, 0, kBlue), WBrush(0, kRed), WSelect(0), WSelect(1)}, then);
    };
    return {
        {"AnOpenPolylineIsNotFilled",
         WmfFile(with({WPoly(0x0325, {10, 40, 10, 10, 90, 10, 90, 40})})),
         {{20, 15, 80, 45, kWhite}, {10, 15, 10, 35, kBlue}, {15, 10, 85, 10, kBlue}}},
        {"ColoursAreExact",
         WmfFile({WPen(5, 0, 0), WBrush(0, kOlive), WSelect(0), WSelect(1), WRect(10, 10, 60, 40)}),
         {{12, 12, 57, 37, kOlive}}},
        {"AlternateLeavesTheInnerRing",
         WmfFile(RedFill({{0x0538, {2, 4, 4, 10, 5, 50, 5, 50, 45, 10, 45, 20, 15, 40, 15, 40, 35, 20, 35}}})),
         {{12, 7, 48, 12, kRed}, {22, 17, 38, 33, kWhite}}},
        {"WindingFillsTheInnerRing",
         WmfFile(RedFill({{0x0106, {2}}, {0x0538, {2, 4, 4, 10, 5, 50, 5, 50, 45, 10, 45, 20, 15, 40, 15, 40, 35, 20, 35}}})),
         {{12, 7, 48, 12, kRed}, {22, 17, 38, 33, kRed}}},
        {"AnEllipseFillsItsBoxButNotItsCorners",
         WmfFile(RedFill({{0x0418, {45, 90, 5, 10}}})),
         {{40, 20, 60, 30, kRed}, {10, 5, 14, 8, kWhite}}},
        {"ARoundRectangleRoundsItsCorners",
         WmfFile(RedFill({{0x061C, {30, 30, 45, 90, 5, 10}}})),
         {{20, 10, 80, 40, kRed}, {10, 5, 12, 7, kWhite}}},
        {"APieRunsCounterClockwise",
         WmfFile(RedFill({{0x081A, {0, 35, 25, 60, 50, 60, 0, 10}}})),
         {{40, 10, 50, 20, kRed}, {20, 30, 30, 40, kWhite}, {40, 30, 50, 40, kWhite}}},
        {"AChordCutsAlongItsEnds",
         WmfFile(RedFill({{0x0830, {0, 35, 25, 60, 50, 60, 0, 10}}})),
         {{52, 12, 52, 12, kRed}, {38, 18, 42, 22, kWhite}}},
        {"AnArcIsNotFilled",
         WmfFile(with({{0x0817, {0, 35, 25, 60, 50, 60, 0, 10}}})),
         {{40, 10, 50, 20, kWhite}, {30, 0, 60, 25, kBlue, Probe::Some}}},
        {"ADashedLineHasGaps",
         WmfFile({WPen(1, 0, kBlue), WSelect(0), {0x0214, {25, 0}}, {0x0213, {25, 100}}}),
         {{0, 25, 99, 25, kBlue, Probe::Some}, {0, 25, 99, 25, kWhite, Probe::Some}}},
        {"AWidePenCoversItsWidth",
         WmfFile({WPen(0, 10, kBlue), WSelect(0), {0x0214, {25, 10}}, {0x0213, {25, 90}}}),
         {{20, 21, 80, 29, kBlue}, {20, 33, 80, 40, kWhite}}},
        {"AHatchShowsTheBackgroundBetweenItsLines",
         WmfFile({WPen(5, 0, 0), WBrush(2, kBlue, 4), WSelect(0), WSelect(1), {0x0201, {Lo(kYellow), Hi(kYellow)}},
                  WRect(10, 10, 60, 40)}),
         {{12, 12, 57, 37, kBlue, Probe::Some}, {12, 12, 57, 37, kYellow, Probe::Some}, {12, 12, 57, 37, kWhite, Probe::None}}},
        {"ATransparentHatchLeavesThePaper",
         WmfFile({WPen(5, 0, 0), WBrush(2, kBlue, 0), WSelect(0), WSelect(1), {0x0102, {1}}, WRect(10, 10, 60, 40)}),
         {{12, 12, 57, 37, kBlue, Probe::Some}, {12, 12, 57, 37, kWhite, Probe::Some}}},
        {"ADeletedSlotIsTakenByTheNextObject",
         WmfFile({WPen(5, 0, 0), WBrush(0, kBlue), WSelect(0), WDelete(1), WBrush(0, kRed), WSelect(1), WRect(10, 10, 60, 40)}),
         {{12, 12, 57, 37, kRed}}},
        {"SetPixelPaintsOnePixel",
         WmfFile({{0x041F, {Lo(kOlive), Hi(kOlive), 20, 30}}}),
         {{30, 20, 30, 20, kOlive}, {31, 20, 35, 25, kWhite}}},
        {"PatternBlocksUseTheBrush",
         WmfFile({WBrush(0, kBlue), WSelect(0), {0x061D, {0x0021, 0x00F0, 20, 30, 5, 10}}, {0x061D, {0x0042, 0x0000, 10, 10, 30, 60}}}),
         {{12, 7, 38, 23, kBlue}, {62, 32, 68, 38, kBlack}}},
        {"NotInvertsThePaper",
         WmfFile(RedFill({{0x0104, {6}}, WRect(10, 10, 60, 40)})),
         {{12, 12, 57, 37, kBlack}, {70, 12, 90, 37, kWhite}}},
        {"AClipRectangleKeepsDrawingInside",
         WmfFile(RedFill({{0x0416, {30, 40, 10, 20}}, WRect(0, 0, 100, 50)})),
         {{22, 12, 38, 28, kRed}, {5, 5, 15, 45, kWhite}, {45, 5, 95, 45, kWhite}}},
        {"AnExcludedRectangleStaysBlank",
         WmfFile(RedFill({{0x0415, {30, 40, 10, 20}}, WRect(0, 0, 100, 50)})),
         {{22, 12, 38, 28, kWhite}, {5, 5, 15, 45, kRed}}},
        {"RestoringAStateDropsItsClipAndBrush",
         WmfFile(RedFill({{0x001E, {}}, {0x0416, {30, 40, 10, 20}}, WBrush(0, kBlue), WSelect(2), {0x0127, {0xFFFF}},
                          WRect(0, 0, 100, 50)})),
         {{2, 2, 97, 47, kRed}}},
        {"AStretchedBitmapKeepsItsRowsTheRightWayUp",
         WmfFile({WmfStretchDib(0, 0, 100, 50, 2, 2, Dib24(2, 2, {kRed, kLime, kBlue, kYellow}))}),
         {{5, 5, 45, 20, kRed}, {55, 5, 95, 20, kLime}, {5, 30, 45, 45, kBlue}, {55, 30, 95, 45, kYellow}}},
        {"APalettedBitmapTakesItsColoursFromItsTable",
         WmfFile({WmfStretchDib(0, 0, 100, 50, 2, 1, Dib8(2, 1, {kOlive, kBlue}, {1, 0}))}),
         {{5, 5, 45, 45, kBlue}, {55, 5, 95, 45, kOlive}}},
        {"EnhancedPathsFillAndClip",
         EmfFile(ERedFill({{59, {}}, EPoly16(86, {10, 5, 90, 5, 50, 45}), {60, {}}, {62, {0, 0, 100, 50}},
                           {59, {}}, EPoly16(86, {60, 30, 95, 30, 95, 48}), {60, {}}, {67, {5}}, EBrush(3, kBlue),
                           ESelect(3), ERect(0, 0, 100, 50)})),
         {{45, 7, 55, 15, kRed}, {5, 30, 20, 45, kWhite}, {85, 33, 93, 40, kBlue}}},
        {"EnhancedStrokedPathIsNotFilled",
         EmfFile({EPen(1, 0, 0, kBlue), EBrush(2, kRed), ESelect(1), ESelect(2), {59, {}}, EPoly16(86, {10, 5, 90, 5, 50, 45}),
                  {60, {}}, {64, {0, 0, 100, 50}}}),
         {{45, 10, 55, 15, kWhite}, {20, 5, 80, 5, kBlue}}},
        {"EnhancedClipRegionIsInDevicePixels",
         EmfFile(ERedFill({{75, {48, 5, 32, 1, 1, 16, 20, 10, 40, 30, 20, 10, 40, 30}}, ERect(0, 0, 100, 50)})),
         {{22, 12, 38, 28, kRed}, {45, 5, 95, 45, kWhite}}},
    };
}

// Bitmaps of each kind, regions, patterns, palettes, curves and blends.
std::vector<DrawingCase> MoreRecordCases()
{
    auto withPen = [](const std::vector<EmfRecord>& then) { return EmfFile(Then({EPen(1, 0, 0, kBlue), ESelect(1)}, then)); };
    const std::vector<Probe> redLeftLimeRight = {{5, 5, 45, 45, kRed}, {55, 5, 95, 45, kLime}};
    const std::vector<int> region = {0, 6, 0, 0, 34, 1, 2, 20, 10, 40, 30, 2, 10, 30, 20, 40, 2};
    WmfRecord pattern{0x0142, {5, 0}};
    for (int w : WmfWords(Dib24(2, 2, {kRed, kBlue, kBlue, kRed})))
        pattern.Words.push_back(w);
    return {
        {"AOneBitBitmapTakesItsTwoColours", EmfFile({EStretchDib(Dib(8, 1, 1, {kRed, kBlue}, {0xF0, 0, 0, 0}), 8, 1, 2)}),
         {{5, 5, 45, 45, kBlue}, {55, 5, 95, 45, kRed}}},
        {"ASixteenBitBitmapHasFiveBitsAColour", EmfFile({EStretchDib(Dib(2, 1, 16, {}, {0x00, 0x7C, 0xE0, 0x03}), 2, 1)}),
         redLeftLimeRight},
        {"ARunLengthBitmapRunsItsIndices", EmfFile({EStretchDib(Dib(2, 1, 8, {kRed, kLime}, {1, 0, 1, 1, 0, 1}, 1), 2, 1, 2)}),
         redLeftLimeRight},
        {"AlphaBlendingLetsTheTransparentPixelsShowThePaper",
         EmfFile({EBlend(114, 0x01FF0000, Dib(2, 1, 32, {}, {0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0}))}),
         {{5, 5, 45, 45, kBlue}, {55, 5, 95, 45, kWhite}}},
        {"TransparentBlitsLeaveTheKeyColourOut", EmfFile({EBlend(116, kRed, Dib24(2, 1, {kRed, kLime}))}),
         {{5, 5, 45, 45, kWhite}, {55, 5, 95, 45, kLime}}},
        {"AGradientRectangleFillsItsBox",
         EmfFile({{118, {0, 0, 100, 50, 2, 1, 0, 20, 10, 0xFF000000, 0, 40, 30, 0xFF000000, 0, 0, 1}}}),
         {{21, 11, 38, 28, kLime}, {45, 5, 95, 45, kWhite}}},
        {"ABezierBendsThroughItsControlPoints", withPen({EPoly16(85, {10, 40, 10, 0, 90, 0, 90, 40})}),
         {{45, 8, 55, 12, kBlue, Probe::Some}, {45, 20, 55, 38, kWhite}}},
        {"AnAngleArcTurnsCounterClockwise", withPen({{27, {70, 25}}, {41, {50, 25, 20, 0, FloatBits(90)}}}),
         {{58, 4, 71, 20, kBlue, Probe::Some}, {20, 28, 45, 49, kBlue, Probe::None}}},
        {"AFilledRegionTakesItsBrush",
         EmfFile({EBrush(1, kBlue), {71, {0, 0, 100, 50, 48, 1, 32, 1, 1, 16, 20, 10, 40, 30, 20, 10, 40, 30}}}),
         {{22, 12, 38, 28, kBlue}, {45, 5, 95, 45, kWhite}}},
        {"ARegionObjectClips", WmfFile(RedFill({{0x06FF, region}, {0x012C, {2}}, WRect(0, 0, 100, 50)})),
         {{22, 12, 38, 28, kRed}, {45, 5, 95, 45, kWhite}, {2, 2, 18, 45, kWhite}}},
        {"ARegionIsFilledWithItsBrush", WmfFile({{0x06FF, region}, WBrush(0, kBlue), {0x0228, {0, 1}}}),
         {{22, 12, 38, 28, kBlue}, {45, 5, 95, 45, kWhite}}},
        {"APatternBrushRepeatsItsBitmap", WmfFile({WPen(5, 0, 0), WSelect(0), pattern, WSelect(1), WRect(10, 10, 60, 40)}),
         {{12, 12, 57, 37, kRed, Probe::Some}, {12, 12, 57, 37, kBlue, Probe::Some}, {12, 12, 57, 37, kWhite, Probe::None}}},
        {"APaletteIndexNamesAPaletteEntry",
         WmfFile({{0x00F7, {0x300, 2, Lo(kRed), Hi(kRed), Lo(kOlive), Hi(kOlive)}}, {0x0234, {0}}, WPen(5, 0, 0), WSelect(1),
                  WBrush(0, 0x01000001), WSelect(2), WRect(10, 10, 60, 40)}),
         {{12, 12, 57, 37, kOlive}}},
    };
}

// Text in Arial, 20 pixels high, red on white.
std::vector<DrawingCase> TextCases()
{
    auto with = [](const std::vector<WmfRecord>& then) {
        return WmfFile(Then({WFont(-20), WSelect(0), {0x0209, {Lo(kRed), Hi(kRed)}}, {0x0102, {1}}}, then));
    };
    std::vector<uint8_t> wide;
    for (char16_t c : std::u16string(u"HH"))
        wide.insert(wide.end(), {uint8_t(c), uint8_t(c >> 8)});
    EmfRecord extTextOutW{84, {0, 0, 100, 50, 1, 0, 0, 10, 10, 2, 76, 0, 0, 0, 0, 0, 0}};
    for (uint32_t f : EmfFields(wide))
        extTextOutW.Fields.push_back(f);
    return {
        {"TextStandsBelowAndRightOfItsPoint", with({WmfTextOut(10, 10, "HHHH")}),
         {{10, 10, 60, 30, kRed, Probe::Some}, {0, 33, 99, 49, kRed, Probe::None}, {0, 0, 8, 49, kRed, Probe::None}}},
        {"RightAndBaselineAlignmentEndAtThePoint", with({{0x012E, {2 | 24}}, WmfTextOut(90, 40, "HHHH")}),
         {{40, 20, 90, 40, kRed, Probe::Some}, {92, 0, 99, 49, kRed, Probe::None}, {0, 42, 99, 49, kRed, Probe::None}}},
        {"AnOpaqueBackgroundFillsBehindTheText",
         with({{0x0102, {2}}, {0x0201, {Lo(kLime), Hi(kLime)}}, WmfTextOut(10, 10, "HH")}),
         {{10, 10, 30, 30, kLime, Probe::Some}, {10, 10, 30, 30, kRed, Probe::Some}, {50, 0, 99, 49, kLime, Probe::None}}},
        {"AdvancesSpaceTheCharacters", with({WExtTextOut(10, 10, "HH", 0, {}, {60, 0})}),
         {{10, 10, 30, 35, kRed, Probe::Some}, {70, 10, 90, 35, kRed, Probe::Some}, {35, 0, 65, 49, kRed, Probe::None}}},
        {"AnOpaqueRectangleTakesTheBackgroundColour",
         with({{0x0201, {Lo(kYellow), Hi(kYellow)}}, WExtTextOut(10, 10, "H", 2, {0, 0, 100, 50}, {})}),
         {{60, 5, 95, 45, kYellow}, {10, 10, 30, 30, kRed, Probe::Some}}},
        {"AClippedTextStaysInItsRectangle", with({WExtTextOut(10, 10, "HHHHHHHH", 4, {10, 10, 22, 40}, {})}),
         {{10, 10, 22, 30, kRed, Probe::Some}, {25, 0, 99, 49, kRed, Probe::None}}},
        {"EscapementTurnsTheTextUpward", WmfFile({WFont(-20, 900), WSelect(0), {0x0209, {Lo(kRed), Hi(kRed)}},
                                                  {0x012E, {24}}, WmfTextOut(40, 48, "HHHH")}),
         {{20, 0, 41, 48, kRed, Probe::Some}, {45, 0, 99, 49, kRed, Probe::None}}},
        {"EnhancedWideTextIsDrawn", EmfFile({{82, {1, uint32_t(-20), 0, 0, 0, 400, 0, 0, 'A' | 'r' << 16, 'i' | 'a' << 16, 'l'}},
                                             ESelect(1), {24, {kRed}}, {18, {1}}, extTextOutW}),
         {{10, 10, 40, 30, kRed, Probe::Some}, {50, 0, 99, 49, kRed, Probe::None}}},
    };
}

class MetafileDrawing : public ::testing::TestWithParam<DrawingCase> {};

TEST_P(MetafileDrawing, DrawsWhatItsRecordsSay)
{
    TMetafile picture;
    TMemoryStream stream;
    stream.WriteBuffer(GetParam().File.data(), int64_t(GetParam().File.size()));
    stream.SetPosition(0);
    picture.LoadFromStream(stream);
    const QImage image = picture.ToImage();
    ASSERT_EQ(image.size(), GetParam().Size);
    for (const Probe& p : GetParam().Probes) {
        int matching = 0, total = 0;
        for (int y = p.Top; y <= p.Bottom; ++y)
            for (int x = p.Left; x <= p.Right; ++x, ++total) {
                const QRgb c = image.pixel(x, y);
                matching += uint32_t(RGB(qRed(c), qGreen(c), qBlue(c))) == p.Color;
            }
        const char* how[] = {"all", "some", "none"};
        SCOPED_TRACE(::testing::Message() << how[p.How] << " of (" << p.Left << "," << p.Top << ")-(" << p.Right << ","
                                          << p.Bottom << ") in " << std::hex << p.Color << std::dec << ": " << matching
                                          << " of " << total);
        EXPECT_TRUE(p.How == Probe::All ? matching == total : p.How == Probe::Some ? matching > 0 : matching == 0);
    }
}

std::string CaseName(const ::testing::TestParamInfo<DrawingCase>& info) { return info.param.Name; }

INSTANTIATE_TEST_SUITE_P(Mapping, MetafileDrawing, ::testing::ValuesIn(MappingCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Shapes, MetafileDrawing, ::testing::ValuesIn(ShapeCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Text, MetafileDrawing, ::testing::ValuesIn(TextCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(MoreRecords, MetafileDrawing, ::testing::ValuesIn(MoreRecordCases()), CaseName);

}  // namespace
