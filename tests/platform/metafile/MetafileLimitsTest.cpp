// Hostile metafiles written here: each asks for memory or work that no picture needs, and is
// refused with the file and the limit named, or is drawn within the limits.
#include "Graphics.h"
#include "HostileMetafiles.h"
#include "Metafile.h"
#include "MetafileBuilder.h"
#include "TempDir.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <fstream>

namespace {

struct LimitCase {
    std::string Name;
    std::vector<uint8_t> File;
    std::string Refusal;  // what the message says after the file's name; empty when the file opens
    TMetafileLimits Limits = {};
};

std::vector<WmfRecord> Repeated(const WmfRecord& record, int times, std::vector<WmfRecord> first = {})
{
    first.insert(first.end(), size_t(times), record);
    return first;
}

std::vector<LimitCase> Cases()
{
    auto stretch = [](const std::vector<uint8_t>& dib) { return WmfStretchDib(0, 0, 100, 50, 1, 1, dib); };
    const WmfFrame large{0, 0, 2000, 1000, 96};
    const std::string text(60000, 'W');
    const std::vector<WmfRecord> bigFont = {{0x02FB, {-1000, 0, 0, 0, 400, 0, 0, 0, 0}}, {0x012D, {0}}};
    std::vector<EmfRecord> patterns;
    const std::vector<uint8_t> mono = DibHeader(1024, 1024, 1, 2);
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
    const uint32_t far = 2000000000;
    WmfRecord polyline{0x0325, {2000}};
    polyline.Words.resize(1 + 2 * 2000, 7);
    return {
        {"ABitmapOfFourGigapixels", WmfFile({stretch(DibHeader(65535, 65535, 24, 0))}),
         "holds a bitmap of 65535 x 65535 pixels (at most 32 megapixels)"},
        {"ARunLengthBitmapLargerThanItsBytes", WmfFile({stretch(DibHeader(8000, 8000, 8, 0, 1))}),
         "holds a bitmap of 8000 x 8000 pixels (at most 32 megapixels)"},
        {"AColourTableClaimingFourBillionColours", WmfFile({stretch(DibHeader(1, 1, 8, 0xFFFFFFFF))}), ""},
        {"AHundredThousandFillsOfTheWholePicture", WmfFile(Repeated({0x041B, {1000, 2000, 0, 0}}, 100000), large),
         "would take too long to draw (more than 2000 million pixels of drawing)"},
        {"SixtyThousandCharactersAThousandPixelsHigh", WmfFile({bigFont[0], bigFont[1], WmfTextOut(10, 10, text)}, large),
         "would take too long to draw (more than 2000 million pixels of drawing)"},
        {"SixtyThousandCharactersOfOrdinaryText", WmfFile({WmfTextOut(10, 10, text)}), ""},
        {"SeventeenMegapixelsOfPatternBrushes", EmfFile(patterns), "holds more pattern brushes than can be drawn (over 16 megapixels)"},
        {"ThreeHundredThousandSavedStates", WmfFile(Repeated({0x001E, {}}, 300000)), ""},
        {"APolygonClaimingMorePointsThanItHolds", WmfFile({{0x0324, {65535, 1, 1, 50, 1, 50, 40}}}), ""},
        {"ObjectsAtIndicesNoTableHas", EmfFile({{38, oddIndex}, {37, {0x7FFFFFF0}}, {40, {0xFFFFFFFF}}}), ""},
        // Found by fuzzing: ten turns of an arc two billion pixels across with a wide pen, and a clip
        // path reaching as far (its region once leaked inside Qt).
        {"TenTurnsOfAnArcTwoBillionPixelsAcross", EmfFile({{38, {1, 0, 4097, 0, 0}}, {37, {1}}, {41, {50, 25, far, 0, FloatBits(3600)}}}), ""},
        {"AClipPathFarBeyondThePicture",
         EmfFile({{59, {}}, {3, {0, 0, 100, 50, 3, 0, uint32_t(-int64_t(far)), 100, far, 50, 0}}, {60, {}}, {67, {5}},
                  {43, {0, 0, 100, 50}}}),
         ""},
        {"AShapeOfMorePointsThanAllowed", WmfFile({polyline}), "holds a shape of 2000 points (at most 1000)", {.Points = 1000}},
        // With no time at all, a file long enough to be looked at on the way is stopped.
        {"APictureOverItsTime", WmfFile(Repeated({0x001E, {}}, 1000)), "would take too long to draw (more than 0 seconds)",
         {.Seconds = 0}},
        // The clock is read at every record, so a short file is stopped as well as a long one.
        {"APictureOfOneRecordOverItsTime", WmfFile({{0x041B, {1000, 2000, 0, 0}}}, large),
         "would take too long to draw (more than 0 seconds)", {.Seconds = 0}},
        // A record whose drawing would take longer than the time left is not begun.
        {"AStarThatWouldOutrunTheTimeLeft", EmfCrossingPolygons(1, 2000, 1000), "would take too long to draw (more than 1 seconds)",
         {.Work = 100LL * 1000 * 1000 * 1000, .Seconds = 1}},
    };
}

// The message the picture registry raises for the file, or "" when it opens.
String Open(const std::string& name, const std::vector<uint8_t>& bytes, String& file, const TMetafileLimits& limits = {})
{
    static TempDir dir;
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
    String file;
    const String message = Open(GetParam().Name, GetParam().File, file, GetParam().Limits);
    EXPECT_EQ(message, GetParam().Refusal.empty() ? "" : "The metafile \"" + file + "\" " + GetParam().Refusal);
}

INSTANTIATE_TEST_SUITE_P(Files, MetafileLimits, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<LimitCase>& info) { return info.param.Name; });

TEST(MetafileLimitSettings, ALongPictureKeepsTheWindowsServed)
{
    // Within the limits, but long enough to be waited on: fifteen hundred fills of a megapixel
    // picture, one gradient record of five hundred, and one star whose every edge crosses the
    // picture. The windows are served while it draws, not only once it is done.
    const std::pair<const char*, std::vector<uint8_t>> files[] = {
        {"long", WmfFile(Repeated({0x041B, {1000, 1000, 0, 0}}, 1500), WmfFrame{0, 0, 1000, 1000, 96})},
        {"one long record", EmfGradient(500, 1000)},
        {"one shape", EmfCrossingPolygons(1, 600, 1000)},
    };
    for (const auto& [name, bytes] : files) {
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(0);
        String file;
        EXPECT_EQ(Open(name, bytes, file), "") << name;
        EXPECT_GT(ticks, 1) << name;
    }
}

TEST(MetafileLimitSettings, EscapeStopsALongPicture)
{
    QWidget window;
    QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    String file;
    const String message = Open("escaped", EmfGradient(500, 1000), file);
    EXPECT_EQ(message, "The metafile \"" + file + "\" was not drawn: Escape was pressed");
}

}  // namespace
