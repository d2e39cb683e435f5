// Tab stops and tab orders: which controls Tab reaches and in which order, where the focus
// starts, and a list entered with Tab keeping its choice.
#include "ExtCtrls.h"
#include "FocusFrame.h"
#include "Forms.h"
#include "RealInput.h"
#include "StdCtrls.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// The controls Tab visits from the one focused, round to it again.
std::vector<TControl*> Round(const std::vector<TControl*>& candidates)
{
    std::vector<TControl*> visited;
    for (size_t i = 0; i <= candidates.size() && (visited.size() < 2 || visited.back() != visited.front()); ++i) {
        for (TControl* c : candidates)
            if (c->Widget() == QApplication::focusWidget())
                visited.push_back(c);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return visited;
}

template <typename T>
T* Place(TForm& form, TWinControl* parent, int top = 0)
{
    auto* c = new T(&form);
    c->SetParent(parent);
    c->SetTop(top);
    return c;
}

TEST(TabOrder, FollowsTheOrderSetAndSkipsWhatIsNoTabStop)
{
    TForm form(nullptr);
    auto* left = Place<TPanel>(form, &form);  // containers are no tab stops
    auto* right = Place<TPanel>(form, &form);
    auto* ok = Place<TButton>(form, right);
    auto* name = Place<TEdit>(form, left);
    auto* list = Place<TListBox>(form, left, 30);
    auto* off = Place<TButton>(form, right, 30);
    auto* hidden = Place<TEdit>(form, &form);
    hidden->Hide();
    off->SetTabStop(false);
    const std::vector<TControl*> all{left, right, ok, name, list, off, hidden};
    EXPECT_EQ(left->TabOrder(), 0);
    EXPECT_EQ(right->TabOrder(), 1);
    EXPECT_EQ(form.FirstTabStop(), name);
    ASSERT_TRUE(ShowActive(form));
    EXPECT_TRUE(name->Focused());  // the first tab stop, though the button was placed first
    EXPECT_EQ(Round(all), (std::vector<TControl*>{name, list, ok, name}));

    right->SetTabOrder(0);
    list->SetTabOrder(0);
    EXPECT_EQ(left->TabOrder(), 1);
    ok->SetFocus();
    EXPECT_EQ(Round(all), (std::vector<TControl*>{ok, list, name, ok}));
    off->SetTabStop(true);
    left->SetTabStop(true);  // a container that asks for it becomes one too
    ok->SetFocus();
    EXPECT_EQ(Round(all), (std::vector<TControl*>{ok, off, left, list, name, ok}));
}

TEST(TabOrder, TabbingIntoAListKeepsItsChoiceAndFramesWhereTheFocusIs)
{
    TForm form(nullptr);
    auto* edit = Place<TEdit>(form, &form);
    auto* list = Place<TListBox>(form, &form, 40);
    list->SetWidth(200);
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    ASSERT_TRUE(ShowActive(form));
    for (const char* items : {"", "one\ntwo"}) {
        list->Items().SetText(items);
        edit->SetFocus();
        QTest::keyClick(edit->Widget(), Qt::Key_Tab);
        ASSERT_TRUE(list->Focused());
        EXPECT_EQ(list->ItemIndex(), -1) << items;
        EXPECT_EQ(clicks, 0) << items;
        // The dotted frame runs along the top, where the first line is or would be.
        EXPECT_GT(LongestDottedRun(list->Widget()->grab().toImage(), 6), 40) << items;
    }
}

}  // namespace
