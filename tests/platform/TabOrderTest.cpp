// Tab stops and tab orders: which controls Tab reaches, in which order, and where the focus
// starts; a list entered with Tab keeps its choice.
#include "ExtCtrls.h"
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
    for (size_t i = 0; i <= candidates.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        for (TControl* c : candidates)
            if (c->Widget() == focus)
                visited.push_back(c);
        if (visited.size() > 1 && visited.back() == visited.front())
            break;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return visited;
}

TEST(TabOrder, FollowsTheOrderSetAndSkipsWhatIsNoTabStop)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* left = new TPanel(&form);  // a container: no tab stop of its own
    left->SetParent(&form);
    left->SetBounds(0, 0, 150, 200);
    auto* right = new TPanel(&form);
    right->SetParent(&form);
    right->SetBounds(150, 0, 150, 200);
    auto* ok = new TButton(&form);
    ok->SetParent(right);
    auto* name = new TEdit(&form);
    name->SetParent(left);
    auto* list = new TListBox(&form);
    list->SetParent(left);
    list->SetTop(30);
    auto* skipped = new TButton(&form);
    skipped->SetParent(right);
    skipped->SetTabStop(false);
    const std::vector<TControl*> all{left, right, ok, name, list, skipped};

    EXPECT_EQ(left->TabOrder(), 0);
    EXPECT_EQ(right->TabOrder(), 1);
    EXPECT_EQ(ok->TabOrder(), 0);
    ASSERT_TRUE(ShowActive(form));
    // Creation order: the right panel's button was parented first but its panel comes second.
    EXPECT_EQ(Round(all), (std::vector<TControl*>{name, list, ok, name}));

    right->SetTabOrder(0);
    list->SetTabOrder(0);
    EXPECT_EQ(right->TabOrder(), 0);
    EXPECT_EQ(left->TabOrder(), 1);
    ok->SetFocus();
    EXPECT_EQ(Round(all), (std::vector<TControl*>{ok, list, name, ok}));

    skipped->SetTabStop(true);
    ok->SetFocus();
    EXPECT_EQ(Round(all), (std::vector<TControl*>{ok, skipped, list, name, ok}));
    left->SetTabStop(true);  // a container that asks for it becomes a stop too
    ok->SetFocus();
    EXPECT_EQ(Round(all), (std::vector<TControl*>{ok, skipped, left, list, name, ok}));
}

TEST(TabOrder, AWindowShowsWithItsFirstTabStopFocused)
{
    TForm form(nullptr);
    auto* hidden = new TEdit(&form);
    hidden->SetParent(&form);
    hidden->Hide();
    auto* disabled = new TButton(&form);
    disabled->SetParent(&form);
    disabled->SetEnabled(false);
    auto* first = new TButton(&form);
    first->SetParent(&form);
    auto* second = new TEdit(&form);
    second->SetParent(&form);
    EXPECT_EQ(form.FirstTabStop(), first);
    ASSERT_TRUE(ShowActive(form));
    EXPECT_TRUE(first->Focused());
}

TEST(TabOrder, TabbingIntoAListKeepsItsChoiceAndFramesWhereTheFocusIs)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->SetBounds(0, 40, 200, 120);
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    ASSERT_TRUE(ShowActive(form));
    for (const char* items : {"", "one\ntwo"}) {
        list->Items().SetText(items);
        edit->SetFocus();
        QTest::keyClick(edit->Widget(), Qt::Key_Tab);
        ASSERT_TRUE(list->Focused()) << items;
        EXPECT_EQ(list->ItemIndex(), -1) << items;
        EXPECT_EQ(clicks, 0) << items;
        // The dotted frame stands where the first line is, or would be: along the top.
        TBitmap shot;
        list->PaintTo(shot);
        shot.Canvas().Release();
        int longest = 0;
        for (int y = 0; y < 6; ++y)
            for (int x = 4, run = 0; x < 100; ++x) {
                const bool dotted = shot.Canvas().Pixel(x, y) != shot.Canvas().Pixel(x + 1, y) &&
                                    shot.Canvas().Pixel(x, y) == shot.Canvas().Pixel(x + 2, y);
                run = dotted ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        EXPECT_GT(longest, 40) << items;
    }
}

}  // namespace
