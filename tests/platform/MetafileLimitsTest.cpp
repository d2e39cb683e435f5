// Hostile metafiles written here: each asks for memory or work that no picture needs, and is
// refused with the file and the limit named, or is drawn within the limits.
#include "Graphics.h"
#include "Metafile.h"
#include "MetafileBuilder.h"
#include "TempDir.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace {

struct LimitCase {
    std::string Name;
    std::vector<uint8_t> File;
    std::string Refusal;  // what the message says after the file's name; empty when the file opens
};

std::vector<uint8_t> DibHeader(int width, int height, int bits, uint32_t compression, uint32_t colors = 0)
{
    std::vector<uint8_t> h(40, 0);
    auto put = [&h](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            h[at + i] = uint8_t(v >> (8 * i));
    };
    put(0, 40);
    put(4, uint32_t(width));
    put(8, uint32_t(height));
    put(12, 1 | uint32_t(bits) << 16);
    put(16, compression);
    put(32, colors);
    return h;
}

WmfRecord StretchDib(const std::vector<uint8_t>& dib)
{
    WmfRecord r{0x0F43, {0x0020, 0x00CC, 0, 1, 1, 0, 0, 50, 100, 0, 0}};
    for (int w : WmfWords(dib))
        r.Words.push_back(w);
    return r;
}

std::vector<WmfRecord> Repeated(const WmfRecord& record, int times, std::vector<WmfRecord> first = {})
{
    first.insert(first.end(), size_t(times), record);
    return first;
}

WmfRecord TextOut(const std::string& text)
{
    WmfRecord r{0x0521, {int(text.size())}};
    for (int v : WmfWords(Bytes(text)))
        r.Words.push_back(v);
    r.Words.insert(r.Words.end(), {10, 10});
    return r;
}

std::vector<LimitCase> Cases()
{
    const WmfFrame large{0, 0, 2000, 1000, 96};
    const std::string text(60000, 'W');
    const std::vector<WmfRecord> bigFont = {{0x02FB, {-1000, 0, 0, 0, 400, 0, 0, 0, 0}}, {0x012D, {0}}};
    std::vector<EmfRecord> patterns;
    const std::vector<uint8_t> mono = DibHeader(1024, 1024, 1, 0, 2);
    for (uint32_t i = 1; i <= 17; ++i) {
        // CreateDIBPatternBrushPt: the header and two colours at 32, the rows after them.
        EmfRecord r{94, {i, 0, 32, 48, 80, 1024 * 128}};
        for (uint32_t f : EmfFields(mono))
            r.Fields.push_back(f);
        r.Fields.insert(r.Fields.end(), {0, 0xFFFFFF});
        r.Fields.resize(r.Fields.size() + 1024 * 32, 0x55555555);
        patterns.push_back(r);
    }
    std::vector<uint32_t> oddIndex = {0xFFFFFFF0, 0, 5, 0, 0};
    const float turns = 3600;
    uint32_t sweep;
    std::memcpy(&sweep, &turns, 4);
    const uint32_t far = 2000000000;
    return {
        {"ABitmapOfFourGigapixels", WmfFile({StretchDib(DibHeader(65535, 65535, 24, 0))}),
         "holds a bitmap of 65535 x 65535 pixels (at most 32 megapixels)"},
        {"ARunLengthBitmapLargerThanItsBytes", WmfFile({StretchDib(DibHeader(8000, 8000, 8, 1))}),
         "holds a bitmap of 8000 x 8000 pixels (at most 32 megapixels)"},
        {"AColourTableClaimingFourBillionColours", WmfFile({StretchDib(DibHeader(1, 1, 8, 0, 0xFFFFFFFF))}), ""},
        {"AHundredThousandFillsOfTheWholePicture", WmfFile(Repeated({0x041B, {1000, 2000, 0, 0}}, 100000), large),
         "would take too long to draw (more than 2000 million pixels of drawing)"},
        {"SixtyThousandCharactersAThousandPixelsHigh", WmfFile({bigFont[0], bigFont[1], TextOut(text)}, large),
         "would take too long to draw (more than 2000 million pixels of drawing)"},
        {"SixtyThousandCharactersOfOrdinaryText", WmfFile({TextOut(text)}), ""},
        {"SeventeenMegapixelsOfPatternBrushes", EmfFile(patterns), "holds more pattern brushes than can be drawn (over 16 megapixels)"},
        {"ThreeHundredThousandSavedStates", WmfFile(Repeated({0x001E, {}}, 300000)), ""},
        {"APolygonClaimingMorePointsThanItHolds", WmfFile({{0x0324, {65535, 1, 1, 50, 1, 50, 40}}}), ""},
        {"ObjectsAtIndicesNoTableHas", EmfFile({{38, oddIndex}, {37, {0x7FFFFFF0}}, {40, {0xFFFFFFFF}}}), ""},
        // Found by fuzzing: ten turns of an arc two billion pixels across with a wide pen, and a clip
        // path reaching as far (its region once leaked inside Qt).
        {"TenTurnsOfAnArcTwoBillionPixelsAcross", EmfFile({{38, {1, 0, 4097, 0, 0}}, {37, {1}}, {41, {50, 25, far, 0, sweep}}}), ""},
        {"AClipPathFarBeyondThePicture",
         EmfFile({{59, {}}, {3, {0, 0, 100, 50, 3, 0, uint32_t(-int64_t(far)), 100, far, 50, 0}}, {60, {}}, {67, {5}},
                  {43, {0, 0, 100, 50}}}),
         ""},
    };
}

// The message the picture registry raises for the file, or "" when it opens.
String Open(const TempDir& dir, const std::string& name, const std::vector<uint8_t>& bytes, String& file,
            const TMetafileLimits& limits = {})
{
    file = dir.File(name + ".wmf");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    TMetafile picture;
    picture.Limits = limits;
    try {
        picture.LoadFromFile(file);
    } catch (const EInvalidGraphic& e) {
        return e.Message;
    }
    return "";
}

class MetafileLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(MetafileLimits, AreRefusedByNameOrDrawn)
{
    TempDir dir;
    String file;
    const String message = Open(dir, GetParam().Name, GetParam().File, file);
    EXPECT_EQ(message, GetParam().Refusal.empty() ? "" : "The metafile \"" + file + "\" " + GetParam().Refusal);
}

INSTANTIATE_TEST_SUITE_P(Files, MetafileLimits, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<LimitCase>& info) { return info.param.Name; });

TEST(MetafileLimitSettings, AShapeOfMorePointsThanAllowedIsRefused)
{
    TempDir dir;
    String file;
    TMetafileLimits limits;
    limits.Points = 1000;
    WmfRecord polyline{0x0325, {2000}};
    polyline.Words.resize(1 + 2 * 2000, 7);
    const String message = Open(dir, "long", WmfFile({polyline}), file, limits);
    EXPECT_EQ(message, "The metafile \"" + file + "\" holds a shape of 2000 points (at most 1000)");
}

TEST(MetafileLimitSettings, ALongPictureKeepsTheWindowsServed)
{
    // Fifteen hundred fills of a megapixel picture: within the limits, but long enough to be waited on.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(0);
    TempDir dir;
    String file;
    const String message = Open(dir, "long", WmfFile(Repeated({0x041B, {1000, 1000, 0, 0}}, 1500), WmfFrame{0, 0, 1000, 1000, 96}), file);
    EXPECT_EQ(message, "");
    EXPECT_GT(ticks, 0);
}

TEST(MetafileLimitSettings, APictureIsStoppedAfterItsTime)
{
    // With no time at all, a file long enough to be looked at on the way is stopped.
    TempDir dir;
    String file;
    TMetafileLimits limits;
    limits.Seconds = 0;
    const String message = Open(dir, "slow", WmfFile(Repeated({0x001E, {}}, 1000)), file, limits);
    EXPECT_EQ(message, "The metafile \"" + file + "\" would take too long to draw (more than 0 seconds)");
}

}  // namespace
