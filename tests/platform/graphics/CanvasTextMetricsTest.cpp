// DrawText flags, text backgrounds and straight lines on the canvas; icons of the shell.
#include "FixedTextMetrics.h"
#include "ShellIcons.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(CanvasDrawText, PrefixesEllipsisAndMeasuring)
{
    TCanvas canvas;
    TFixedTextMetrics metrics;
    canvas.SetTextMetrics(&metrics);
    TRect r{10, 0, 10 + 8 * 6, 20};
    canvas.DrawText("a&&b&c", r, DT_SINGLELINE);
    canvas.DrawText("a&&b", r, DT_SINGLELINE | DT_NOPREFIX);
    canvas.DrawText("abcdefghijkl", r, DT_SINGLELINE | DT_END_ELLIPSIS);
    canvas.DrawText("a\tb", r, DT_SINGLELINE | DT_EXPANDTABS);
    ASSERT_EQ(metrics.drawn.size(), 4u);
    EXPECT_EQ(metrics.drawn[0].text, "a&bc");
    EXPECT_EQ(metrics.drawn[1].text, "a&&b");
    EXPECT_EQ(metrics.drawn[2].text, "abcde...");
    EXPECT_EQ(metrics.drawn[3].text, "a        b");

    TRect calc{0, 0, 0, 0};
    EXPECT_EQ(canvas.DrawText("abc&&", calc, DT_SINGLELINE | DT_CALCRECT), 13);
    EXPECT_EQ(calc, TRect(0, 0, 24, 13));
    TRect bottom{0, 0, 100, 40};
    canvas.DrawText("x", bottom, DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(metrics.drawn.back().cell, Bounds(0, 27, 6, 13));
}

TEST(CanvasDrawText, BrushColourIsTheTextBackground)
{
    TBitmap bitmap(60, 20);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.Color = clWhite;
    canvas.FillRect({0, 0, 60, 20});
    TFixedTextMetrics metrics;
    canvas.SetTextMetrics(&metrics);
    canvas.Font.SetColor(clBlack);
    canvas.Brush.Color = clRed;
    TRect r{0, 0, 60, 13};
    canvas.DrawText("ab", r, DT_SINGLELINE);
    EXPECT_EQ(canvas.Pixel(0, 0), clRed);
    EXPECT_EQ(canvas.Pixel(13, 0), clWhite);  // only behind the text
    canvas.Brush.Color = clNone;
    TRect second{30, 0, 60, 13};
    canvas.DrawText("ab", second, DT_SINGLELINE);
    EXPECT_EQ(canvas.Pixel(30, 0), clWhite);  // no colour: transparent
}

TEST(CanvasLines, StraightLinesLeaveOutTheirEnd)
{
    TBitmap bitmap(20, 20);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.Color = clWhite;
    canvas.FillRect({0, 0, 20, 20});
    canvas.Pen.Color = clBlack;
    canvas.MoveTo(2, 5);
    canvas.LineTo(10, 5);
    canvas.MoveTo(15, 18);
    canvas.LineTo(15, 10);
    EXPECT_EQ(canvas.Pixel(2, 5), clBlack);
    EXPECT_EQ(canvas.Pixel(9, 5), clBlack);
    EXPECT_EQ(canvas.Pixel(10, 5), clWhite);
    EXPECT_EQ(canvas.Pixel(15, 18), clBlack);
    EXPECT_EQ(canvas.Pixel(15, 11), clBlack);
    EXPECT_EQ(canvas.Pixel(15, 10), clWhite);
}

TEST(ShellIcons, IndexesOfPathsAndTheirLists)
{
    int folder = ShellIconIndex(QDir::tempPath().toStdString(), false);
    ASSERT_GE(folder, 0);
    EXPECT_EQ(ShellIconIndex("/no/such/file/here.txt", false), -1);
    int byName = ShellIconIndex("/no/such/file/here.txt", true);
    ASSERT_GE(byName, 0);
    TImageList& small = SystemImageList(false);
    TImageList& large = SystemImageList(true);
    EXPECT_EQ(small.Width, 16);
    EXPECT_EQ(large.Width, 32);
    EXPECT_GT(small.Count(), std::max(folder, byName));
    EXPECT_EQ(small.Count(), large.Count());
}
