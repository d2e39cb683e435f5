// The metafiles built to break the player's promises, each opened in a child program that says
// how much its peak memory grew: every one is drawn or refused by name, within bounded memory,
// and none brings the program down.
#include "ChildProcess.h"
#include "Graphics.h"
#include "HostileMetafiles.h"
#include "Metafile.h"
#include "TempDir.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

namespace {

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A child that asks for a gigabyte more address space than it holds fails the asking, even
// where the pages would never be touched. The sanitizers keep terabytes of address space of
// their own, and do without this.
void LimitAddressSpace()
{
#if !defined(__SANITIZE_ADDRESS__)
    long pages = 0;
    if (std::ifstream("/proc/self/statm") >> pages) {
        const rlim_t most = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(1) << 30);
        const rlimit limit{most, most};
        setrlimit(RLIMIT_AS, &limit);
    }
#endif
}

// Opens the file named by the environment and says "<megabytes its peak grew> <message>".
const TChildRoutine openMetafile("open metafile", [] {
    LimitAddressSpace();
    const String file = qgetenv("OMBRELLE_METAFILE").toStdString();
    const long before = PeakKilobytes();
    String message;
    try {
        TMetafile picture;
        picture.LoadFromFile(file);
    } catch (const EInvalidGraphic& e) {
        // What follows the quoted name; a refusal that names no file, whole.
        const size_t named = e.Message.find(file);
        message = named == String::npos ? e.Message : e.Message.substr(named + file.size() + 2);
    }
    ChildSay(std::to_string((PeakKilobytes() - before) / 1024) + " " + message);
    return 0;
});

struct WorstCase {
    std::string Name;
    std::vector<uint8_t> File;
    std::string Refusal;  // empty when the file opens
};

void PrintTo(const WorstCase& c, std::ostream* out) { *out << c.Name; }

const char* kTooMuchWork = "would take too long to draw (more than 2000 million pixels of drawing)";

std::vector<WorstCase> Cases()
{
    const std::u16string fallback = u"A\u2603\u4E00\U0001F600";
    return {
        // Fonts: a width of a 16-bit word once stretched glyphs past what the font engine renders.
        {"AFontFortySevenHighAndAWordWide", WmfFontText(-47, 32767, 0, 400, "Hello metafile"), ""},
        {"AFontFiftyHighAndANegativeWordWide", WmfFontText(-50, -32768, 0, 400, "Hello metafile"), ""},
        {"AWideFontTurnedAndAsHeavyAsCanBe", WmfFontText(-50, 32767, 3600, 32767, "Hello"), ""},
        {"AFontOfSixteenThousandPixelsNeedingFallbacks", EmfFontText(-16384, 0, 0, 400, fallback, 1, false, 2000), ""},
        {"AFontOfTheMostNegativeHeight", EmfFontText(int(0x80000000), 0x7FFFFFFF, 0, 400, fallback), ""},
        // Regions that multiply: bars across and down unite into their product.
        {"BarsUnderTheRegionLimit", EmfBars(200, 400), ""},
        // Qt once set aside gigabytes for drawing through these.
        {"FourHundredBarsEachWay", EmfBars(400, 800), ""},
        {"FourHundredBarsEachWayInARegionObject", WmfBars(400), ""},
        {"ThreeThousandBarsEachWay", EmfBars(3000, 4000),
         "holds a clip region of up to 8004000 rectangles (at most 134217 on a picture this high)"},
        {"AThousandBarsEachWayInARegionObject", WmfBars(1000),
         "holds a clip region of up to 2002000 rectangles (at most 268435 on a picture this high)"},
        // Shapes that cross themselves: every edge runs across the whole picture.
        {"AStarOfThreeHundredPoints", EmfCrossingPolygons(1, 300, 1000), ""},
        {"AStarOfEightThousandPoints", EmfCrossingPolygons(1, 8000, 1000), kTooMuchWork},
        {"AStarOfEightThousandPointsInAWidePen", EmfCrossingPolygons(1, 8000, 1000, 200, true), kTooMuchWork},
        {"AClipPathOfFiftyPoints", EmfZigZagPath(50, 1000, true), ""},
        {"AClipPathOfThreeHundredThousandPoints", EmfZigZagPath(300000, 1000, true), kTooMuchWork},
        {"APathStrokedWithAPenFiveHundredWide", EmfZigZagPath(20000, 1000, false, 500), kTooMuchWork},
        // One record that does all the work.
        {"ARegionOfAHundredBarsFilled", EmfRegionFills(1, 100, 1000), ""},
        {"ARegionOfTwoHundredThousandBarsFilled", EmfRegionFills(1, 200000, 1000), kTooMuchWork},
        {"AGradientOfAHundredRectangles", EmfGradient(100, 1000), ""},
        {"AGradientOfAMillionRectangles", EmfGradient(1000000, 100), kTooMuchWork},
        {"ALineOfCharactersEachPlaced", EmfFontText(-12, 0, 0, 400, std::u16string(100, u'W'), 1, true, 1000), ""},
        {"SixtyLinesOfThirtyThousandCharactersEachPlaced",
         EmfFontText(-12, 0, 0, 400, std::u16string(30000, u'W'), 60, true, 1000), kTooMuchWork},
    };
}

class MetafileWorstCases : public ::testing::TestWithParam<WorstCase> {};

TEST_P(MetafileWorstCases, AreDrawnOrRefusedInLittleMemory)
{
    TempDir dir;
    const std::string file = dir.File(GetParam().Name + ".emf");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(GetParam().File.data()), std::streamsize(GetParam().File.size()));
    QProcess child;
    StartChild(child, "open metafile", "OMBRELLE_METAFILE", QString::fromStdString(file));
    const std::string answer = ChildLine(child, "", 120000);
    child.waitForFinished();
    ASSERT_FALSE(answer.empty()) << "the child died: " << child.exitCode();
    // The line is trimmed: a file that opens leaves the number alone.
    const size_t space = std::min(answer.find(' '), answer.size());
    EXPECT_LT(std::stol(answer.substr(0, space)), 256) << "megabytes";
    EXPECT_EQ(answer.substr(std::min(space + 1, answer.size())), GetParam().Refusal);
}

INSTANTIATE_TEST_SUITE_P(Files, MetafileWorstCases, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<WorstCase>& info) { return info.param.Name; });

TEST(MetafileBands, ACostlyShapeDrawnBandByBandLooksDrawnWhole)
{
    // Costly enough to be drawn in many bands of rows.
    TempDir dir;
    const std::string file = dir.File("star.emf");
    const std::vector<uint8_t> bytes = EmfCrossingPolygons(1, 600, 1000);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    TMetafile picture;
    picture.LoadFromFile(file);
    const QImage drawn = picture.ToImage().convertToFormat(QImage::Format_RGB32);
    QImage whole(drawn.size(), QImage::Format_RGB32);
    whole.fill(Qt::white);
    QPainter painter(&whole);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::blue);
    QPolygonF star;
    for (auto [x, y] : StarPoints(600, 1000))
        star << QPointF(x, y);
    painter.drawPolygon(star, Qt::OddEvenFill);
    painter.end();
    // Band by band, the rows come out as Qt draws them in one go.
    int differ = 0;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            differ += drawn.pixel(x, y) != whole.pixel(x, y);
    EXPECT_EQ(differ, 0);
}

}  // namespace
