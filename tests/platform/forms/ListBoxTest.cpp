#include "ListBoxes.h"
#include "Forms.h"
#include "WaitFor.h"

#include <QApplication>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {
void Press(QWidget* w, QPoint p, QEvent::Type type = QEvent::MouseButtonPress)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

struct Box {
    TForm form{nullptr};
    TListBox* box = new TListBox(&form);
    Box()
    {
        form.SetBounds(0, 0, 300, 300);
        box->SetParent(&form);
        box->SetBounds(0, 0, 200, 200);
        form.Show();
    }
};
}  // namespace

TEST(ListBox, SelectionFromCodeRaisesNoClickButAPressDoes)
{
    Box b;
    int clicks = 0;
    b.box->OnClick = [&](TObject*) { ++clicks; };
    b.box->Items().SetText("one\ntwo\nthree");
    b.box->SetItemIndex(1);
    EXPECT_EQ(b.box->ItemIndex(), 1);
    EXPECT_TRUE(b.box->Selected(1));
    EXPECT_EQ(clicks, 0);

    TRect third = b.box->ItemRect(2);
    EXPECT_EQ(third.Height(), 13);
    EXPECT_EQ(b.box->ItemAtPos({5, third.Top + 2}, true), 2);
    EXPECT_EQ(b.box->ItemAtPos({5, 190}, true), -1);
    EXPECT_EQ(b.box->ItemAtPos({5, 190}, false), 3);
    Press(b.box->View()->viewport(), QPoint(5, third.Top + 2));
    Press(b.box->View()->viewport(), QPoint(5, third.Top + 2), QEvent::MouseButtonRelease);
    EXPECT_EQ(b.box->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
}

TEST(ListBox, VariableHeightsComeFromMeasureItem)
{
    Box b;
    b.box->SetStyle(lbOwnerDrawVariable);
    b.box->OnMeasureItem = [](TWinControl*, int index, int& h) { h = 10 + 5 * index; };
    std::vector<int> drawn;
    b.box->OnDrawItem = [&](TWinControl*, int index, const TRect&, TOwnerDrawState) { drawn.push_back(index); };
    b.box->Items().BeginUpdate();
    for (int i = 0; i < 4; ++i)
        b.box->Items().Add("item");
    b.box->Items().EndUpdate();
    EXPECT_EQ(b.box->ItemRect(0).Height(), 10);
    EXPECT_EQ(b.box->ItemRect(3).Height(), 25);
    EXPECT_EQ(b.box->ItemRect(3).Top, 10 + 15 + 20);
    TBitmap shot;
    b.box->PaintTo(shot);
    EXPECT_EQ(drawn.size(), 4u);
}

// Items filled in while the list shows lie inside the view, whichever way they come: once the
// vertical scroll bar appears none reaches under it, and no horizontal scroll bar comes with it.
TEST(ListBox, ItemsStayClearOfTheVerticalScrollBar)
{
    struct Case {
        const char* name;
        bool atOnce;
    } cases[] = {{"one by one", false}, {"all at once", true}};
    for (const Case& c : cases) {
        Box b;
        if (c.atOnce)
            b.box->Items().BeginUpdate();
        for (int i = 0; i < 40; ++i)
            b.box->Items().Add("item");
        if (c.atOnce)
            b.box->Items().EndUpdate();
        QListView* view = b.box->View();
        ASSERT_TRUE(WaitUntil([&] { return view->verticalScrollBar()->isVisible(); }, 5000)) << c.name;
        const int inside = view->viewport()->width();
        EXPECT_TRUE(WaitUntil([&] { return b.box->ItemRect(0).Right <= inside; }, 5000)) << c.name;
        EXPECT_LE(b.box->ItemRect(39).Right, inside) << c.name;
        EXPECT_FALSE(view->horizontalScrollBar()->isVisible()) << c.name;
    }
}
