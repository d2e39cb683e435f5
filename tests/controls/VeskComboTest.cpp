#include "TVeskCombo.h"

#include <gtest/gtest.h>

namespace {

TEST(VeskLookupCombo, ParallelListsAndItemsWithoutValue)
{
    TVeskLookupCombo combo(nullptr);
    combo.Items().Add("Music CD");
    combo.Items().Add("Any Cover Type");
    TStringList values{"Music CD value"};
    combo.SetLookUpItems(values);
    TStringList* list = &combo.LookUpItems();
    values.Put(0, "changed");
    combo.SetLookUpItems(TStringList{"Music CD"});
    EXPECT_EQ(list, &combo.LookUpItems());
    EXPECT_EQ(combo.LookUpItems()[0], "Music CD");

    String value;
    combo.SetItemIndex(0);
    ASSERT_TRUE(combo.SelectedLookUp(value));
    EXPECT_EQ(value, "Music CD");
    combo.SetItemIndex(1);
    EXPECT_FALSE(combo.SelectedLookUp(value));
    combo.SetItemIndex(-1);
    EXPECT_FALSE(combo.SelectedLookUp(value));
}

TEST(VeskLookupCombo, AssignCopiesTheStrings)
{
    TVeskLookupCombo combo(nullptr);
    TStringList source{"a", "b"};
    combo.SetLookUpItems(source);
    source.Put(0, "z");
    source.Add("c");
    EXPECT_EQ(combo.LookUpItems().Count(), 2);
    EXPECT_EQ(combo.LookUpItems()[0], "a");
}

}  // namespace
