#include "PaintProbe.h"
#include "VeskGaugeUnit.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

std::unique_ptr<TBitmap> Render(TVeskGauge& gauge)
{
    auto image = std::make_unique<TBitmap>(gauge.Width(), gauge.Height(), pf24bit);
    gauge.PaintTo(*image);
    image->Canvas().Release();
    return image;
}

TEST(VeskGauge, PercentDoneClampingAndEqualBounds)
{
    TVeskGauge gauge(nullptr);
    EXPECT_EQ(gauge.Width(), 100);
    gauge.SetProgress(37);
    EXPECT_EQ(gauge.PercentDone(), 37);
    gauge.SetProgress(250);
    EXPECT_EQ(gauge.Progress(), 100);
    EXPECT_EQ(gauge.PercentDone(), 100);
    gauge.SetProgress(-5);
    EXPECT_EQ(gauge.Progress(), 0);

    gauge.SetMaxValue(0);
    EXPECT_EQ(gauge.MinValue(), gauge.MaxValue());
    gauge.SetProgress(12);
    EXPECT_EQ(gauge.PercentDone(), 0);
}

TEST(VeskGauge, WideBoundsDoNotOverflow)
{
    TVeskGauge gauge(nullptr);
    gauge.SetMaxValue(INT_MAX);
    gauge.SetMinValue(-INT_MAX);
    gauge.SetProgress(INT_MAX - 1);
    EXPECT_EQ(gauge.PercentDone(), 99);
    gauge.SetProgress(0);
    EXPECT_EQ(gauge.PercentDone(), 50);
}

TEST(VeskGauge, RangeErrorsExceptWhileLoading)
{
    TVeskGauge gauge(nullptr);
    gauge.SetMinValue(10);
    EXPECT_EQ(gauge.Progress(), 10);
    try {
        gauge.SetMaxValue(5);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message, "Value must be between 11 and 2147483647");
    }
    try {
        gauge.SetMinValue(101);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message, "Value must be between -2147483647 and 99");
    }
    gauge.Loading = true;
    gauge.SetMaxValue(5);
    EXPECT_EQ(gauge.MaxValue(), 5);
    EXPECT_EQ(gauge.Progress(), 5);
}

TEST(VeskGauge, HorizontalBarCoversTheInnerWidthAtFullAndNothingAtZero)
{
    TVeskGauge gauge(nullptr);
    gauge.SetBounds(0, 0, 120, 30);
    gauge.SetShowText(false);
    gauge.SetProgress(100);
    auto full = Render(gauge);
    EXPECT_EQ(At(*full, 0, 15), clBlack);    // frame
    EXPECT_EQ(At(*full, 119, 15), clBlack);
    EXPECT_NE(At(*full, 1, 15), clWhite);    // gradient from the first inner column...
    EXPECT_NE(At(*full, 118, 15), clWhite);  // ...to the last
    EXPECT_EQ(At(*full, 118, 1), At(*full, 1, 1));

    gauge.SetProgress(0);
    auto empty = Render(gauge);
    for (int x = 1; x < 119; ++x)
        ASSERT_EQ(At(*empty, x, 15), clWhite) << x;

    gauge.SetProgress(50);
    auto half = Render(gauge);
    EXPECT_NE(At(*half, 50, 15), clWhite);
    EXPECT_EQ(At(*half, 70, 15), clWhite);
}

TEST(VeskGauge, VerticalBarGrowsUpward)
{
    TVeskGauge gauge(nullptr);
    gauge.SetBounds(0, 0, 20, 100);
    gauge.SetShowText(false);
    gauge.SetKind(gkVerticalBar);
    gauge.SetBorderStyle(bsNone);
    gauge.SetProgress(100);
    auto full = Render(gauge);
    EXPECT_EQ(At(*full, 10, 0), clWhite);  // the top row stays unfilled
    EXPECT_NE(At(*full, 10, 1), clWhite);
    EXPECT_NE(At(*full, 10, 99), clWhite);
    gauge.SetProgress(25);
    auto quarter = Render(gauge);
    EXPECT_EQ(At(*quarter, 10, 60), clWhite);
    EXPECT_NE(At(*quarter, 10, 90), clWhite);
}

TEST(VeskGauge, TextIsInvertedOverTheBar)
{
    TVeskGauge gauge(nullptr);
    gauge.SetBounds(0, 0, 120, 30);
    gauge.SetKind(gkText);
    gauge.SetBackColor(clWhite);
    auto image = Render(gauge);
    // White background, the letters of "0%" inverted over it.
    int dark = 0;
    for (int y = 1; y < 29; ++y)
        for (int x = 1; x < 119; ++x)
            dark += GetRValue(At(*image, x, y)) < 128;
    EXPECT_GT(dark, 5);
    gauge.SetShowText(false);
    auto plain = Render(gauge);
    EXPECT_EQ(At(*plain, 60, 15), clWhite);
}

TEST(GradientFill, BandsEndOnTheEndColour)
{
    TBitmap grad(10, 40, pf24bit);
    EXPECT_FALSE(GradientFill(grad.Canvas(), {0, 0, 10, 40}, 0, clBlack, clWhite, 0));
    ASSERT_TRUE(GradientFill(grad.Canvas(), {0, 0, 10, 40}, 4, clBlack, RGB(200, 100, 40), 0));
    grad.Canvas().Release();
    EXPECT_EQ(At(grad, 5, 0), RGB(50, 25, 10));  // the first band already differs from the start
    EXPECT_EQ(At(grad, 5, 39), RGB(200, 100, 40));
    TBitmap across(40, 10, pf24bit);
    ASSERT_TRUE(GradientFill(across.Canvas(), {0, 0, 40, 10}, 2, clWhite, clBlack, 1));
    across.Canvas().Release();
    EXPECT_EQ(At(across, 0, 5), RGB(127, 127, 127));  // 255 + Round(-127.5), half to even
    EXPECT_EQ(At(across, 39, 5), clBlack);
}

}  // namespace

TEST(VeskGauge, ProgressStaysBetweenCrossedBoundsWhileLoading)
{
    TVeskGauge gauge(nullptr);
    gauge.Loading = true;
    gauge.SetMaxValue(-5);  // below MinValue 0 until MinValue is read
    struct Case {
        int given, kept;
    } cases[] = {{3, 0}, {-10, -5}, {-2, -2}};
    for (const Case& c : cases) {
        gauge.SetProgress(c.given);
        EXPECT_EQ(gauge.Progress(), c.kept) << c.given;
    }
}
