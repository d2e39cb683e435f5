#include "ThemeLoader.h"

#include <gtest/gtest.h>

namespace {

TEST(Theme, WindowClassIsTheOnlyOneAndHandlesAreChecked)
{
    EXPECT_TRUE(IsThemeActive());
    EXPECT_EQ(OpenThemeData(nullptr, "button"), nullptr);
    HTHEME theme = OpenThemeData(nullptr, "WINDOW");
    ASSERT_NE(theme, nullptr);

    TBitmap target(60, 24);
    target.Canvas().Brush.Color = 0x00FF00;
    target.Canvas().FillRect({0, 0, 60, 24});
    EXPECT_EQ(DrawThemeBackground(theme, target.Canvas(), 1, 1, {0, 0, 60, 24}, nullptr), S_OK);
    bool changed = false;
    for (int x = 0; x < 60 && !changed; ++x)
        changed = target.Canvas().Pixel(x, 12) != 0x00FF00;
    EXPECT_TRUE(changed);

    int dummy = 0;
    EXPECT_EQ(DrawThemeBackground(&dummy, target.Canvas(), 1, 1, {0, 0, 60, 24}, nullptr), E_HANDLE);
    EXPECT_EQ(CloseThemeData(theme), S_OK);
    EXPECT_EQ(CloseThemeData(theme), E_HANDLE);  // closed once only
    EXPECT_EQ(DrawThemeBackground(theme, target.Canvas(), 18, 1, {0, 0, 14, 14}, nullptr), E_HANDLE);
}

TEST(Theme, LoaderBindsTheCallsOnceAndFreesThem)
{
    FreeThemeLibrary();
    EXPECT_FALSE(ThemeLibraryLoaded);
    LoadThemeLibrary();
    ASSERT_TRUE(ThemeLibraryLoaded);
    EXPECT_EQ(ThemeProcs.IsThemeActive, &IsThemeActive);
    EXPECT_EQ(ThemeProcs.OpenThemeData, &OpenThemeData);
    EXPECT_EQ(ThemeProcs.DrawThemeBackground, &DrawThemeBackground);
    EXPECT_EQ(ThemeProcs.CloseThemeData, &CloseThemeData);
    FreeThemeLibrary();
    EXPECT_FALSE(ThemeLibraryLoaded);
}

}  // namespace
