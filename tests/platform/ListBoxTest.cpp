#include "ListBox.h"

#include <gtest/gtest.h>

namespace {

struct Measured : TCustomListBox {
    explicit Measured() : TCustomListBox(nullptr)
    {
        SetStyle(lbOwnerDrawVariable);
        SetBounds(0, 0, 200, 100);
    }
    void MeasureItem(int index, int& height) override { height = static_cast<int>(Items()[index].size()) * 10; }
    using TCustomListBox::CancelHint;
};

TEST(ListBox, VariableHeightsAndItemFromPoint)
{
    Measured box;
    box.Items().Add("aa");     // 20
    box.Items().Add("aaaa");   // 40
    box.Items().Add(String(40, 'a'));  // 400, capped at 255
    EXPECT_EQ(box.ItemHeights(0), 20);
    EXPECT_EQ(box.ItemHeights(1), 40);
    EXPECT_EQ(box.ItemHeights(2), 255);
    EXPECT_EQ(box.ItemRect(1).Top, 20);
    EXPECT_EQ(box.ItemRect(1).Bottom, 60);
    EXPECT_EQ(box.ItemAtPos({5, 19}, true), 0);
    EXPECT_EQ(box.ItemAtPos({5, 20}, true), 1);
    EXPECT_EQ(box.ItemAtPos({5, 70}, true), 2);
    EXPECT_EQ(box.ItemAtPos({5, -1}, true), -1);
    // The tall item no longer fits: a vertical scroll bar narrows the client area.
    EXPECT_LT(box.ClientWidth(), 200);

    box.SetTopIndex(1);
    EXPECT_EQ(box.TopIndex(), 1);
    EXPECT_EQ(box.ItemAtPos({5, 0}, true), 1);
    EXPECT_EQ(box.ItemRect(0).Top, -20);
    box.Items().Insert(0, "a");
    EXPECT_EQ(box.ItemHeights(0), 10);
    box.Clear();
    EXPECT_EQ(box.TopIndex(), 0);
    EXPECT_EQ(box.ItemAtPos({5, 5}, true), -1);
    EXPECT_EQ(box.ItemAtPos({5, 5}, false), 0);
}

TEST(ListBox, SelectionFollowsItsItem)
{
    Measured box;
    for (const char* s : {"a", "b", "c"})
        box.Items().Add(s);
    box.SetItemIndex(1);
    box.Items().Insert(0, "z");
    EXPECT_EQ(box.ItemIndex(), 2);
    box.Items().Delete(2);
    EXPECT_EQ(box.ItemIndex(), -1);
    box.SetItemIndex(7);
    EXPECT_EQ(box.ItemIndex(), -1);

    box.SetMultiSelect(true);
    box.SetSelected(0, true);
    box.SetSelected(2, true);
    EXPECT_EQ(box.SelCount(), 2);
    box.MouseDown(mbLeft, ssCtrl, 5, 15);  // the second item joins
    EXPECT_EQ(box.SelCount(), 3);
    box.MouseDown(mbLeft, 0, 5, 15);       // a plain click selects only it
    EXPECT_EQ(box.SelCount(), 1);
    EXPECT_TRUE(box.Selected(1));
    EXPECT_THROW(box.Selected(3), EListError);
}

TEST(ListBox, HorizontalExtentScrolls)
{
    Measured box;
    box.Items().Add("a");
    box.SetHorizontalExtent(500);
    box.SetHorizontalPosition(120);
    EXPECT_EQ(box.HorizontalPosition(), 120);
    EXPECT_LT(box.ClientHeight(), 100);
    box.SetHorizontalExtent(0);
    EXPECT_EQ(box.HorizontalPosition(), 0);
    EXPECT_EQ(box.ClientHeight(), 100);
}

TEST(ListBox, KeysMoveTheSelection)
{
    Measured box;
    for (const char* s : {"a", "b", "c"})
        box.Items().Add(s);
    int clicks = 0;
    box.OnClick = [&](TObject*) { ++clicks; };
    int key = VK_DOWN;
    box.KeyDown(key, 0);
    EXPECT_EQ(box.ItemIndex(), 0);
    key = VK_END;
    box.KeyDown(key, 0);
    EXPECT_EQ(box.ItemIndex(), 2);
    key = VK_DOWN;
    box.KeyDown(key, 0);
    EXPECT_EQ(box.ItemIndex(), 2);
    EXPECT_EQ(clicks, 2);
}

}  // namespace
