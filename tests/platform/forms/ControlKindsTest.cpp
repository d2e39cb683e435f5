// The thin controls the XP look decorates, as far as they do something of their own.
#include "ControlBar.h"
#include "Forms.h"
#include "HotKey.h"
#include "ListBoxes.h"
#include "ListView.h"
#include "Memos.h"
#include "PageControl.h"
#include "PaintedRegions.h"
#include "PageScroller.h"
#include "ProgressBar.h"
#include "StdCtrls.h"
#include "TabControl.h"
#include "TreeView.h"
#include "UpDown.h"
#include "WaitFor.h"

#include <QAbstractScrollArea>
#include <QFrame>
#include <QTabWidget>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Controls over a scroll area show their contents on its viewport: invalidating the control, or
// a rectangle of it, must repaint there.
TEST(ControlKinds, InvalidatingAScrollingControlRepaintsWhatItShows)
{
    struct Kind {
        const char* name;
        std::function<TWinControl*(TComponent*)> make;
    } kinds[] = {
        {"list box", [](TComponent* o) { return new TListBox(o); }},
        {"memo", [](TComponent* o) { return new TMemo(o); }},
        {"rich edit", [](TComponent* o) { return new TRichEdit(o); }},
        {"tree view", [](TComponent* o) { return new TTreeView(o); }},
        {"list view", [](TComponent* o) { return new TListView(o); }},
    };
    const TRect part{5, 6, 25, 16};
    for (const Kind& kind : kinds) {
        TForm form(nullptr);
        form.SetBounds(0, 0, 200, 150);
        TWinControl* control = kind.make(&form);
        control->SetParent(&form);
        control->SetBounds(10, 10, 150, 100);
        form.Show();
        ASSERT_TRUE(WaitUntil([&] { return form.Widget()->windowHandle()->isExposed(); }, 5000)) << kind.name;
        QCoreApplication::processEvents();
        auto* area = qobject_cast<QAbstractScrollArea*>(control->Widget());
        ASSERT_NE(area, nullptr) << kind.name;
        struct Ask {
            const char* how;
            std::function<void()> invalidate;
            QRect expected;
        } asks[] = {
            {"whole", [&] { control->Invalidate(); }, area->viewport()->rect()},
            {"rectangle", [&] { control->InvalidateRect(part); }, QRect(5, 6, 20, 10)},
        };
        for (const Ask& ask : asks) {
            PaintedRegions regions(area->viewport());
            ask.invalidate();
            EXPECT_TRUE(WaitUntil([&] { return regions.painted.contains(ask.expected); }, 5000))
                << kind.name << ", " << ask.how;
        }
        form.Hide();
    }
}

TEST(ControlKinds, UpDownStepsWithinItsRangeOrWraps)
{
    TUpDown upDown(nullptr);
    upDown.SetBounds(0, 0, 17, 24);
    upDown.Max = 2;
    std::vector<TUDBtnType> clicks;
    upDown.OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    const QPoint up(8, 3), down(8, 20);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(upDown.Widget(), Qt::LeftButton, {}, up);
    EXPECT_EQ(upDown.Position(), 2);
    upDown.Wrap = true;
    QTest::mouseClick(upDown.Widget(), Qt::LeftButton, {}, up);
    EXPECT_EQ(upDown.Position(), 0);
    QTest::mouseClick(upDown.Widget(), Qt::LeftButton, {}, down);
    EXPECT_EQ(upDown.Position(), 2);
    EXPECT_EQ(clicks.size(), 5u);
    EXPECT_EQ(clicks.back(), btPrev);
}

TEST(ControlKinds, HotKeyProgressAndMemoKeepWhatTheyAreGiven)
{
    THotKey hotKey(nullptr);
    for (TShortCut key : {TShortCut(scCtrl | 'K'), TShortCut(scShift | scAlt | 0x73), TShortCut(0)}) {
        hotKey.SetHotKey(key);
        EXPECT_EQ(hotKey.HotKey(), key) << ShortCutToText(key);
    }
    TProgressBar bar(nullptr);
    bar.SetMax(50);
    bar.SetPosition(70);
    EXPECT_EQ(bar.Position(), 50);
    bar.SetPosition(10);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 20);
    TMemo memo(nullptr);
    memo.AddLine("Artist");
    memo.AddLine("Title");
    EXPECT_EQ(memo.LineCount(), 2);
    EXPECT_EQ(memo.Line(1), "Title");
}

TEST(ControlKinds, BordersFollowCtl3DAndBorderStyle)
{
    TMemo memo(nullptr);
    auto* frame = static_cast<QFrame*>(memo.Widget());
    EXPECT_EQ(frame->frameShadow(), QFrame::Sunken);
    memo.SetCtl3D(false);
    EXPECT_EQ(frame->frameShape(), QFrame::Box);
    EXPECT_EQ(frame->lineWidth(), 1);
    memo.SetBorderStyle(bsNone);
    EXPECT_EQ(frame->frameShape(), QFrame::NoFrame);
    TEdit edit(nullptr);
    const int sunken = edit.FrameWidth();
    edit.SetCtl3D(false);
    EXPECT_EQ(edit.FrameWidth(), 1);
    EXPECT_GT(sunken, 1);
}

TEST(ControlKinds, PagesTabsAndScrollers)
{
    TPageControl pages(nullptr);
    TTabSheet first(nullptr), second(nullptr);
    first.SetCaption("One");
    first.SetParent(&pages);
    second.SetParent(&pages);
    second.SetCaption("Two");
    EXPECT_EQ(pages.PageCount(), 2);
    EXPECT_EQ(pages.Tabs()->tabText(1), "Two");
    pages.SetActivePage(&second);
    EXPECT_EQ(pages.ActivePage(), &second);

    TTabControl tabs(nullptr);
    tabs.SetBounds(0, 0, 200, 100);
    TRect client{0, 0, 200, 100};
    tabs.AdjustClientRect(client);
    EXPECT_EQ(client.Top, 0);
    tabs.Tabs().Add("Covers");
    tabs.AdjustClientRect(client);
    EXPECT_GT(client.Top, 0);

    TPageScroller scroller(nullptr);
    scroller.SetBounds(0, 0, 100, 30);
    TControlBar wide(nullptr);
    wide.SetBounds(0, 0, 300, 30);
    scroller.SetControl(&wide);
    scroller.SetPosition(500);
    EXPECT_EQ(scroller.Position(), 300 - (100 - 2 * scroller.ButtonSize));
    EXPECT_EQ(wide.Left(), -scroller.Position());
    scroller.SetPosition(-5);
    EXPECT_EQ(scroller.Position(), 0);
}

// An etched line round the box, shadow outside and highlight inside at the top and left, the other
// way round at the bottom and right; its top runs through the middle of the caption, which
// breaks it from 8 pixels in.
TEST(ControlKinds, AGroupBoxDrawsAnEtchedFrameBrokenByItsCaption)
{
    TForm form(nullptr);
    auto* box = new TGroupBox(&form);
    box->SetParent(&form);
    box->SetBounds(10, 10, 150, 80);
    box->SetColor(RGB(230, 230, 210));
    box->SetCaption("Tracks");
    TBitmap image;
    box->PaintTo(image);
    TCanvas& c = image.Canvas();
    TBitmap measure(10, 10, pf24bit);
    measure.Canvas().Font.Assign(box->Font);
    const int top = measure.Canvas().TextHeight("0") / 2;
    const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    const std::tuple<int, int, TColor> points[] = {{0, 40, shadow},  {1, 40, light},   {149, 40, light},  {148, 40, shadow},
                                                   {75, 79, light},  {75, 78, shadow}, {4, top, shadow},  {140, top, shadow}};
    for (const auto& [x, y, colour] : points)
        EXPECT_EQ(c.Pixel(x, y), colour) << x << "," << y;
    // Under the caption the line gives way to the box's colour and the text.
    for (int x = 10; x < 30; ++x)
        EXPECT_NE(c.Pixel(x, top), shadow) << x;
}

}  // namespace
