#include "ThemeLoader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

constexpr size_t kEntryPoints = 46;
static_assert(sizeof(TThemeProcs) == kEntryPoints * sizeof(void (*)()), "one pointer an entry point");

// The table's entries, in their order.
std::array<void (*)(), kEntryPoints> Entries()
{
    std::array<void (*)(), kEntryPoints> entries;
    std::memcpy(entries.data(), &ThemeProcs, sizeof ThemeProcs);
    return entries;
}

TEST(ThemeLoader, BindsAllEntryPointsWhenTheEngineIsThere)
{
    FreeThemeLibrary();
    ThemeProcs = {};
    LoadThemeLibrary();
    ASSERT_TRUE(ThemeLibraryLoaded);
    for (size_t i = 0; i < kEntryPoints; ++i)
        EXPECT_NE(Entries()[i], nullptr) << "entry " << i;
    EXPECT_EQ(ThemeProcs.OpenThemeData, &OpenThemeData);
    EXPECT_EQ(ThemeProcs.GetThemeColor, &GetThemeColor);
    EXPECT_EQ(ThemeProcs.EnableTheming, &EnableTheming);
    // Through the table, as the panel calls it.
    HTHEME theme = ThemeProcs.OpenThemeData(nullptr, "window");
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(ThemeProcs.CloseThemeData(theme), S_OK);

    const auto bound = Entries();
    LoadThemeLibrary();  // once only
    FreeThemeLibrary();
    EXPECT_FALSE(ThemeLibraryLoaded);
    EXPECT_EQ(Entries(), bound);  // the table stays as it was
}

TEST(ThemeLoader, BindsNothingWithoutTheEngine)
{
    FreeThemeLibrary();
    ThemeProcs = {};
    LoadThemeLibrary([] { return false; });
    EXPECT_FALSE(ThemeLibraryLoaded);
    for (void (*entry)() : Entries())
        EXPECT_EQ(entry, nullptr);
    FreeThemeLibrary();
    EXPECT_FALSE(ThemeLibraryLoaded);
    LoadThemeLibrary();  // as the program starts
}

}  // namespace
