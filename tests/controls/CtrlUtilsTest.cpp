#include "CtrlUtils.h"
#include "FileUtil.h"
#include "FixedTextMetrics.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TColor PixelAt(const TBitmap& b, int x, int y)
{
    const uint8_t* p = b.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

}  // namespace

TEST(FitTextWithEllipsis, DropsTwoCharactersFirstAndEndsInDotsAlone)
{
    TFixedTextMetrics metrics;  // six pixels a character
    TBitmap b(10, 10);
    b.Canvas().SetTextMetrics(&metrics);
    EXPECT_EQ(FitTextWithEllipsis("abcdef", b.Canvas(), 36), "abcdef");
    EXPECT_EQ(FitTextWithEllipsis("abcdefgh", b.Canvas(), 42), "abcd...");
    EXPECT_EQ(FitTextWithEllipsis("abcdef", b.Canvas(), 35), "ab...");
    EXPECT_EQ(FitTextWithEllipsis("abcdef", b.Canvas(), 0), "...");
    // A character of several bytes is never split.
    EXPECT_EQ(FitTextWithEllipsis("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", b.Canvas(), 29), "\xC3\xA9...");
    b.Canvas().SetTextMetrics(nullptr);
}

TEST(Params, SkipBlanksAndEmptyQuotesAndGroupQuotedRuns)
{
    String p;
    size_t next = NextParam("  \"\" ab cd", 0, p);
    EXPECT_EQ(p, "ab");
    NextParam("  \"\" ab cd", next, p);
    EXPECT_EQ(p, "cd");
    next = NextParam("\"a b\"c d", 0, p);
    EXPECT_EQ(p, "a bc");
    EXPECT_EQ(next, 6u);
    EXPECT_EQ(CountParams(""), 0);
    EXPECT_EQ(CountParams("  x \"y z\"  "), 2);
    ParamAt("one two", 0, 5, p);
    EXPECT_EQ(p, "");
    NextParam(String(300, 'x'), 0, p);
    EXPECT_EQ(p.size(), 256u);
}

TEST(Params, SplitCmdLineQuotesParametersHoldingBlanks)
{
    String exe = "old", params = "old";
    SplitCmdLine("prog.exe one \"two words\" three", exe, params);
    EXPECT_EQ(exe, "prog.exe");
    EXPECT_EQ(params, "one \"two words\" three");
    SplitCmdLine("", exe, params);
    EXPECT_EQ(exe, "");
    EXPECT_EQ(params, "");
}

TEST(DisabledBitmap, OutlinePixelsBecomeShadowOverAShiftedHighlight)
{
    TBitmap source(3, 3);
    source.Canvas().Brush.Color = clWhite;
    source.Canvas().FillRect({0, 0, 3, 3});
    source.Canvas().SetPixel(0, 0, clBlack);
    source.Canvas().Release();
    auto result = DisabledBitmap(source, clBlack, clBlue, clYellow, clRed, true);
    EXPECT_EQ(PixelAt(*result, 0, 0), clRed);
    EXPECT_EQ(PixelAt(*result, 1, 1), clYellow);
    EXPECT_EQ(PixelAt(*result, 2, 2), clBlue);
    EXPECT_EQ(PixelAt(*result, 1, 0), clBlue);
    auto flat = DisabledBitmap(source, clBlack, clBlue, clYellow, clRed, false);
    EXPECT_EQ(PixelAt(*flat, 1, 1), clBlue);
}

TEST(FileUtil, ValidNamesFoldersAndNameParts)
{
    EXPECT_TRUE(IsValidFileName("/home/user/covers/front cover.bmp"));
    EXPECT_FALSE(IsValidFileName("front|back.bmp"));
    EXPECT_FALSE(IsValidFileName("a<b"));
    EXPECT_FALSE(IsValidFileName("[x]"));
    EXPECT_FALSE(IsValidFileName(""));

    TempDir dir;
    std::ofstream(dir.File("Cover.bmp")) << "x";
    EXPECT_TRUE(FolderExists(dir.Path()));
    EXPECT_FALSE(FolderExists(dir.File("Cover.bmp")));
    EXPECT_FALSE(FolderExists(dir.File("missing")));
    EXPECT_EQ(LongFileNamePart(dir.File("Cover.bmp")), "Cover.bmp");
    EXPECT_EQ(ShortFileNamePart(dir.File("Cover.bmp")), "Cover.bmp");
    EXPECT_EQ(LongFileNamePart(dir.File("C*.bmp")), "Cover.bmp");
    EXPECT_EQ(LongFileNamePart(dir.File("missing.bmp")), "");
    EXPECT_EQ(LongFileNamePart(""), "");
}
