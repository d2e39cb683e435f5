#include "Forms.h"
#include "MarkupPanel.h"
#include "MarkupPanelStyler.h"
#include "PictureStore.h"
#include "Shell.h"
#include "PaintedRegions.h"
#include "RealInput.h"
#include "ScreenShot.h"
#include "WaitFor.h"

#include <QPaintEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<String> g_opened;

// Records every height the panel passes through.
struct Panel : TMarkupPanel {
    Panel() : TMarkupPanel(nullptr)
    {
        SetBounds(0, 0, 200, 300);
        Font.SetName("Arial");
        Font.SetHeight(-13);
        CollapsDelay = 0;
    }
    void SetBounds(int left, int top, int width, int height) override
    {
        TMarkupPanel::SetBounds(left, top, width, height);
        heights.push_back(height);
    }
    void StateChanged() override { ++stateChanges; }
    // The first x on row y where the anchor is found; -1 when nowhere.
    int FindAnchor(int y, const String& anchor)
    {
        for (int x = 0; x < Width(); ++x) {
            TRect r;
            int index = -1;
            if (AnchorAt(x, y, r, index) == anchor)
                return x;
        }
        return -1;
    }
    std::vector<int> heights;
    int stateChanges = 0;
};

struct MarkupPanel : ::testing::Test {
    void SetUp() override
    {
        g_opened.clear();
        SetShellOpenHook([](const String& url) {
            g_opened.push_back(url);
            return true;
        });
    }
    void TearDown() override { SetShellOpenHook(nullptr); }
};

TEST_F(MarkupPanel, CollapseStepsDownToTheCaptionAndExpandRestores)
{
    Panel p;
    p.Caption().SetHeight(20);
    p.CollapsSteps = 4;
    p.SetColor(0x123456);
    int minimized = 0, maximized = 0, ended = 0;
    p.OnMinimize = [&](TObject*) { ++minimized; };
    p.OnMaximize = [&](TObject*) { ++maximized; };
    p.OnEndCollapsExpand = [&](TObject*) { ++ended; };
    p.heights.clear();

    p.SetCollaps(true);
    EXPECT_TRUE(p.heights.empty());  // the steps come from the event loop, not from a busy wait
    ASSERT_TRUE(WaitUntil([&] { return ended == 1; }));
    EXPECT_EQ(p.heights, (std::vector<int>{230, 160, 90, 20, 20}));
    EXPECT_EQ(p.Height(), 20);
    EXPECT_EQ(p.FullHeight(), 300);
    EXPECT_EQ(p.Color(), clGray);  // the collapse colour while collapsed
    EXPECT_EQ(minimized, 1);

    p.SetHeight(40);  // written while collapsed: the expanded height stays
    EXPECT_EQ(p.FullHeight(), 300);

    p.heights.clear();
    p.SetCollaps(false);
    ASSERT_TRUE(WaitUntil([&] { return ended == 2; }));
    EXPECT_EQ(p.heights, (std::vector<int>{110, 180, 250, 320, 300}));
    EXPECT_EQ(p.Height(), 300);
    EXPECT_EQ(p.Color(), 0x123456);
    EXPECT_EQ(maximized, 1);
    EXPECT_EQ(ended, 2);

    p.SetHeight(250);
    EXPECT_EQ(p.FullHeight(), 250);
}

TEST_F(MarkupPanel, ClickDuringACollapseFinishesItFirst)
{
    Panel p;
    p.Caption().SetVisible(true);
    p.Caption().SetMinMaxButton(true);
    p.CollapsSteps = 10;
    p.CollapsDelay = 1000;  // long enough that only the click can end the move
    int ended = 0;
    p.OnEndCollapsExpand = [&](TObject*) { ++ended; };
    const int button = p.Width() - 2 - p.ButtonSize() / 2;
    p.MouseDown(mbLeft, 0, button, 6);
    ASSERT_TRUE(p.CollapseRunning());
    EXPECT_TRUE(p.Collaps());
    p.heights.clear();
    p.MouseDown(mbLeft, 0, button, 6);  // the second click: the collapse ends, the expand starts
    ASSERT_GE(p.heights.size(), 1u);
    EXPECT_EQ(p.heights.front(), 20);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(p.Collaps());
    EXPECT_TRUE(p.CollapseRunning());
    p.SetCollaps(false);  // the same state again: the running expand is finished
    EXPECT_FALSE(p.CollapseRunning());
    EXPECT_EQ(p.Height(), 300);
    EXPECT_EQ(ended, 3);
}

TEST_F(MarkupPanel, SettingTheSameStateOnlyRunsTheHookAndTheEvent)
{
    Panel p;
    int ended = 0;
    p.OnEndCollapsExpand = [&](TObject*) { ++ended; };
    p.heights.clear();
    p.SetCollaps(false);
    EXPECT_TRUE(p.heights.empty());
    EXPECT_EQ(p.stateChanges, 1);
    EXPECT_EQ(ended, 1);
}

TEST_F(MarkupPanel, WithoutStepsTheHeightJumpsAndChildrenHide)
{
    Panel p;
    TPanel child(nullptr);
    child.SetParent(&p);
    p.SetCollaps(true);
    EXPECT_EQ(p.Height(), 20);
    EXPECT_FALSE(child.Visible());
    p.SetCollaps(false);
    EXPECT_EQ(p.Height(), 300);
    EXPECT_TRUE(child.Visible());
    child.SetParent(nullptr);
}

TEST_F(MarkupPanel, CaptionButtonsAndCaptionClicks)
{
    Panel p;
    p.Caption().SetVisible(true);
    p.Caption().SetCloseButton(true);
    p.Caption().SetMinMaxButton(true);
    int closed = 0, captionClicks = 0;
    p.OnClose = [&](TObject*) { ++closed; };
    p.OnCaptionClick = [&](TObject*) { ++captionClicks; };

    p.MouseDown(mbLeft, 0, 50, 10);  // the free caption
    EXPECT_EQ(captionClicks, 1);
    EXPECT_FALSE(p.Collaps());

    p.MouseDown(mbLeft, 0, 178, 5);  // the collapse button, left of the close button
    EXPECT_TRUE(p.Collaps());
    EXPECT_EQ(captionClicks, 2);

    p.MouseDown(mbLeft, 0, 190, 5);  // the close button
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(captionClicks, 2);
}

TEST_F(MarkupPanel, FreeOnCloseFreesThePanelAfterItsClick)
{
    TComponent owner(nullptr);
    auto* p = new TMarkupPanel(&owner);
    p->SetBounds(0, 0, 200, 100);
    p->Caption().SetVisible(true);
    p->Caption().SetCloseButton(true);
    p->FreeOnClose = true;
    int closed = 0;
    p->OnClose = [&](TObject*) { ++closed; };
    p->MouseDown(mbLeft, 0, 190, 5);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(owner.ComponentCount(), 1);  // still there while its own handler runs
    EXPECT_TRUE(WaitUntil([&] { return owner.ComponentCount() == 0; }));
}

TEST_F(MarkupPanel, ButtonsOnTheLeftSide)
{
    Panel p;
    p.Caption().SetVisible(true);
    p.Caption().SetCloseButton(true);
    p.Caption().ButtonPosition = cbpLeft;
    int closed = 0;
    p.OnClose = [&](TObject*) { ++closed; };
    p.MouseDown(mbLeft, 0, 190, 5);
    EXPECT_EQ(closed, 0);
    p.MouseDown(mbLeft, 0, 5, 5);
    EXPECT_EQ(closed, 1);
}

TEST_F(MarkupPanel, HiddenCaptionHasNoButtonsAndCannotMove)
{
    Panel p;
    p.Caption().SetCloseButton(true);
    p.CanMove = true;
    int closed = 0, captionClicks = 0;
    p.OnClose = [&](TObject*) { ++closed; };
    p.OnCaptionClick = [&](TObject*) { ++captionClicks; };
    p.MouseDown(mbLeft, 0, 190, 5);
    EXPECT_TRUE(p.Visible());
    EXPECT_EQ(closed + captionClicks, 0);
    EXPECT_EQ(p.HitTest(50, 5), HTCLIENT);

    p.Caption().SetVisible(true);
    EXPECT_EQ(p.HitTest(50, 5), HTCAPTION);
    EXPECT_EQ(p.HitTest(50, 50), HTCLIENT);
}

TEST_F(MarkupPanel, SizeGripOnlyWhenSizableAndExpanded)
{
    Panel p;
    EXPECT_EQ(p.HitTest(195, 295), HTCLIENT);
    p.SetCanSize(true);
    EXPECT_EQ(p.HitTest(195, 295), HTBOTTOMRIGHT);
    EXPECT_EQ(p.HitTest(100, 295), HTCLIENT);
    p.SetCollaps(true);
    EXPECT_EQ(p.HitTest(195, 15), HTCLIENT);
}

TEST_F(MarkupPanel, AnchorsFollowTheAnchorRule)
{
    Panel p;
    p.SetText("<A href=\"page2\">Next page</A><BR><A href=\"http://example.org/\">Site</A><BR>"
              "<A href=\"mailto:me@example.org\">Mail</A><BR>plain text");
    std::vector<String> clicked;
    p.OnAnchorClick = [&](TObject*, const String& a) { clicked.push_back(a); };

    const int line = p.Font.Height() < 0 ? -p.Font.Height() : p.Font.Height();
    const int x = p.FindAnchor(5, "page2");
    ASSERT_GE(x, 0);
    p.MouseDown(mbLeft, 0, x + 2, 5);
    EXPECT_EQ(clicked, (std::vector<String>{"page2"}));

    int y = 5;
    while (y < 100 && p.FindAnchor(y, "http://example.org/") < 0)
        ++y;
    ASSERT_LT(y, 100);
    p.MouseDown(mbLeft, 0, p.FindAnchor(y, "http://example.org/") + 2, y);
    y += line;
    while (y < 100 && p.FindAnchor(y, "mailto:me@example.org") < 0)
        ++y;
    ASSERT_LT(y, 100);
    p.MouseDown(mbLeft, 0, p.FindAnchor(y, "mailto:me@example.org") + 2, y);
    EXPECT_EQ(g_opened, (std::vector<String>{"http://example.org/", "mailto:me@example.org"}));

    p.MouseDown(mbLeft, 0, 190, 5);  // beside the anchor
    p.MouseDown(mbLeft, 0, 5, 150);  // below all text
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_EQ(g_opened.size(), 2u);
}

TEST_F(MarkupPanel, HoveringAnAnchorEntersAndLeaves)
{
    Panel p;
    p.SetText("<A href=\"x\">Anchor</A>");
    p.Loaded();
    std::vector<String> events;
    p.OnAnchorEnter = [&](TObject*, const String& a) { events.push_back("enter " + a); };
    p.OnAnchorExit = [&](TObject*, const String& a) { events.push_back("exit " + a); };
    const int x = p.FindAnchor(5, "x");
    ASSERT_GE(x, 0);
    p.MouseMove(0, x + 1, 5);
    p.MouseMove(0, x + 2, 5);  // the same anchor: no second enter
    EXPECT_EQ(p.Cursor(), crHandPoint);
    p.MouseMove(0, 5, 200);
    EXPECT_EQ(events, (std::vector<String>{"enter x", "exit x"}));  // the anchor left
    EXPECT_EQ(p.Cursor(), crDefault);
}

TEST_F(MarkupPanel, HoveringAnAnchorRepaintsOnlyItsRectangle)
{
    TForm form(nullptr);
    auto* p = new TMarkupPanel(&form);
    p->SetParent(&form);
    p->SetBounds(0, 0, 300, 200);
    p->Hover = true;
    p->SetText("Some text before<BR><A href=\"x\">Anchor</A> and after");
    QCursor::setPos(600, 500);
    ASSERT_TRUE(ShowActive(form));
    TRect anchor;
    for (int y = 0; y < 200 && anchor.IsEmpty(); ++y)
        for (int x = 0; x < 300 && anchor.IsEmpty(); ++x) {
            int index = -1;
            TRect r;
            if (p->AnchorAt(x, y, r, index) == "x")
                anchor = r;
        }
    ASSERT_FALSE(anchor.IsEmpty());
    const QRect exact(anchor.Left, anchor.Top, anchor.Width(), anchor.Height());
    struct Move {
        const char* name;
        QPoint to;
        QRect expected;
    };
    for (const Move& move : {Move{"onto the anchor", exact.center(), exact},
                             Move{"off it", QPoint(150, 150), exact.adjusted(-1, -1, 1, 1)}}) {
        PaintedRegions regions(p->Widget());
        QTest::mouseMove(p->Widget(), move.to);
        ASSERT_TRUE(WaitUntil([&] { return !regions.painted.isEmpty(); }, 5000)) << move.name;
        QCoreApplication::processEvents();
        EXPECT_EQ(regions.painted, QRegion(move.expected)) << move.name;
    }
}

TEST_F(MarkupPanel, AnchorHintGoesThroughTheHintEvent)
{
    Panel p;
    p.SetHint("own hint");
    p.SetText("<A href=\"x\">Anchor</A>");
    const int x = p.FindAnchor(5, "x");
    ASSERT_GE(x, 0);
    String text;
    TPoint screen{100, 100};
    EXPECT_FALSE(p.ControlHintAt({x + 1, 5}, text, screen));
    p.AnchorHint = true;
    p.OnAnchorHint = [](TObject*, String& a) { a = "go to " + a; };
    ASSERT_TRUE(p.ControlHintAt({x + 1, 5}, text, screen));
    EXPECT_EQ(text, "go to x");
    EXPECT_EQ(screen, (TPoint{110, 90}));
    EXPECT_FALSE(p.ControlHintAt({5, 200}, text, screen));  // the panel's own hint stands
}

TEST_F(MarkupPanel, AutoSizeFitsTheHeightToTheText)
{
    Panel p;
    p.SetText("one");
    p.AutoSize().Width = false;
    p.AutoSize().SetEnabled(true);
    const int one = p.Height();
    EXPECT_EQ(p.Width(), 200);
    EXPECT_GT(one, 2);
    EXPECT_LT(one, 60);
    p.SetText("one<BR>two<BR>three");
    const int three = p.Height();
    EXPECT_GT(three, 2 * one);
    p.Caption().SetVisible(true);
    p.DoAutoSize();
    EXPECT_EQ(p.Height(), three + 20);
}

TEST_F(MarkupPanel, VersionIsFixed)
{
    Panel p;
    p.SetVersion("2.0");
    EXPECT_EQ(p.Version(), "1.5.0.0");
}

TEST_F(MarkupPanel, AssignCopiesTheSettingsAndText)
{
    Panel a, b;
    a.SetText("<B>hello</B>");
    a.SetShadowOffset(5);
    a.Caption().SetVisible(true);
    a.Caption().SetText("caption text");
    a.Position().Key = "k";
    a.SetTabStop(!b.TabStop());
    a.HelpContext = 42;
    b.Assign(a);
    EXPECT_EQ(b.TabStop(), a.TabStop());
    EXPECT_EQ(b.HelpContext, 42);
    EXPECT_EQ(b.Text(), "<B>hello</B>");
    EXPECT_EQ(b.ShadowOffset(), 5);
    EXPECT_TRUE(b.Caption().Visible());
    EXPECT_EQ(b.Caption().Text(), "");  // the caption's text is not part of its settings
    EXPECT_EQ(b.Position().Key, "k");
}

TEST_F(MarkupPanel, PaintsBodyColourAndTheHiddenCaptionLeavesTheTopToTheText)
{
    Panel p;
    p.SetColor(clWhite);
    p.SetBorderColor(clNone);
    p.BevelOuter = bvNone;
    TBitmap target(200, 300);
    p.PaintTo(target);
    EXPECT_EQ(target.Canvas().Pixel(100, 150), clWhite);

    p.Caption().SetVisible(true);
    p.Caption().SetColor(0x0000FF);
    p.PaintTo(target);
    EXPECT_EQ(target.Canvas().Pixel(100, 10), 0x0000FF);
    EXPECT_EQ(target.Canvas().Pixel(100, 150), clWhite);
}

}  // namespace

TEST_F(MarkupPanel, ForgetsImagesPicturesAndStylerThatAreDestroyed)
{
    Panel p;
    auto* images = new TImageList(nullptr, 16, 16);
    auto* store = new TPictureStore(nullptr);
    auto* styler = new TMarkupPanelStyler(nullptr);
    p.SetImages(images);
    p.SetPictureStore(store);
    p.SetStyler(styler);
    p.SetText("<img src=\"idx:0\"><img src=\"pic\">text");
    delete images;
    delete store;
    delete styler;
    EXPECT_EQ(p.Images(), nullptr);
    EXPECT_EQ(p.PictureStore(), nullptr);
    EXPECT_EQ(p.Styler(), nullptr);
    p.Loaded();  // would apply the freed styler's settings
    TBitmap shot;
    p.PaintTo(shot);
    EXPECT_EQ(shot.Width(), 200);
}

TEST_F(MarkupPanel, MovingOrSizingBringsThePanelToTheFront)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto add = [&] {
        auto* p = new TMarkupPanel(&form);
        p->SetParent(&form);
        p->SetBounds(10, 10, 200, 150);
        p->Caption().SetVisible(true);
        p->CanMove = true;
        p->SetCanSize(true);
        return p;
    };
    TMarkupPanel* below = add();
    TMarkupPanel* above = add();
    auto front = [&] { return form.Widget()->children().last(); };
    ASSERT_EQ(front(), above->Widget());
    below->MouseDown(mbLeft, 0, 50, 5);  // on the caption: a move starts
    EXPECT_EQ(front(), below->Widget());
    below->MouseUp(mbLeft, 0, 50, 5);
    above->MouseDown(mbLeft, 0, 195, 145);  // on the size grip
    EXPECT_EQ(front(), above->Widget());
    above->MouseUp(mbLeft, 0, 195, 145);
}

// A press on the caption that starts a move is the frame's, not a click on the caption.
TEST_F(MarkupPanel, CaptionPressThatMovesIsNoCaptionClick)
{
    struct Case {
        bool canMove;
        int x, y;
        int clicks, mouseDowns;
    } cases[] = {
        {false, 50, 10, 1, 1},  // a caption that cannot move is clicked
        {true, 50, 10, 0, 0},   // one that can is dragged
        {true, 50, 100, 0, 1},  // the body is clicked as ever
    };
    for (const Case& c : cases) {
        Panel p;
        p.Caption().SetVisible(true);
        p.CanMove = c.canMove;
        int clicks = 0, mouseDowns = 0;
        p.OnCaptionClick = [&](TObject*) { ++clicks; };
        p.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++mouseDowns; };
        p.MouseDown(mbLeft, 0, c.x, c.y);
        p.MouseUp(mbLeft, 0, c.x, c.y);
        EXPECT_EQ(clicks, c.clicks) << "move " << c.canMove << " at " << c.y;
        EXPECT_EQ(mouseDowns, c.mouseDowns) << "move " << c.canMove << " at " << c.y;
    }
}

// The free part of a caption that moves the panel shows the move cursor while the pointer is
// over it, when asked to; anchors there and the body keep theirs.
TEST_F(MarkupPanel, MovableCaptionShowsTheMoveCursor)
{
    struct Step {
        int x, y;
        TCursor cursor;
    };
    struct Case {
        const char* name;
        bool canMove, showMoveCursor;
        std::vector<Step> path;
    } cases[] = {
        {"over the caption and off it", true, true,
         {{100, 10, crSizeAll}, {100, 100, crDefault}, {150, 10, crSizeAll}, {8, 10, crHandPoint}, {100, 10, crSizeAll},
          {30, 28, crHandPoint}, {100, 10, crSizeAll}}},
        {"without the move cursor", true, false, {{100, 10, crDefault}}},
        {"a caption that cannot move", false, true, {{100, 10, crDefault}}},
    };
    for (const Case& c : cases) {
        Panel p;
        p.Caption().SetVisible(true);
        p.Caption().SetText("<A href=\"c\">caption link</A>");
        p.SetText("<A href=\"b\">body link</A>");
        p.CanMove = c.canMove;
        p.ShowMoveCursor = c.showMoveCursor;
        for (const Step& s : c.path) {
            p.MouseMove(0, s.x, s.y);
            EXPECT_EQ(p.Cursor(), s.cursor) << c.name << " at " << s.x << "," << s.y;
        }
        p.MouseLeave();
        EXPECT_EQ(p.Cursor(), crDefault) << c.name;
    }
}

// The caption text ends where the buttons' room begins: 20 for each button, plus 12 for the
// drawn cross or the width of the close glyph shown; the drawn triangle takes nothing more.
TEST_F(MarkupPanel, CaptionTextLeavesRoomForTheButtons)
{
    struct Case {
        bool close, minMax;
        int textRight;
        int closeMinWidth = 0, closeMaxWidth = 0;  // close glyphs, none when 0
        bool collapsed = false;
    } cases[] = {{false, false, 200},        {true, false, 168},         {false, true, 180},
                 {true, true, 148},          {true, false, 150, 10, 30}, {true, false, 170, 10, 30, true}};
    for (const Case& c : cases) {
        Panel p;
        p.Caption().SetVisible(true);
        p.Caption().SetCloseButton(c.close);
        p.Caption().SetMinMaxButton(c.minMax);
        if (c.closeMinWidth > 0) {
            p.Caption().SetCloseMinGlyph(TBitmap(c.closeMinWidth, 12, pf24bit));
            p.Caption().SetCloseMaxGlyph(TBitmap(c.closeMaxWidth, 12, pf24bit));
        }
        p.SetCollaps(c.collapsed);
        p.Caption().SetText("<A href=\"c\">" + String(60, 'W') + "</A>");
        int rightmost = -1;
        for (int x = 0; x < p.Width(); ++x) {
            TRect r;
            int index = -1;
            if (p.AnchorAt(x, 10, r, index) == "c")
                rightmost = x;
        }
        EXPECT_LT(rightmost, c.textRight) << c.close << c.minMax << c.collapsed;
        EXPECT_GE(rightmost, c.textRight - 12) << c.close << c.minMax << c.collapsed;
    }
}

// An anchor that wraps is one anchor on all its lines: pointing at any piece shows the hover
// colour on all of them on screen, and leaving takes it off all; the anchor is entered and left once.
TEST_F(MarkupPanel, HoverOnAWrappedAnchorCoversBothLines)
{
    auto hover = [](const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
    TForm form(nullptr);
    form.SetBounds(0, 0, 220, 220);
    auto* p = new TMarkupPanel(&form);
    p->SetParent(&form);
    p->SetBounds(0, 0, 200, 200);
    p->Font.SetName("Arial");
    p->Font.SetHeight(-13);
    p->Hover = true;
    p->HoverColor = clRed;
    p->SetText("Words before the link <A href=\"x\">that wraps onto the next line</A> after");
    QCursor::setPos(600, 500);
    ASSERT_TRUE(ShowActive(form));
    // A point of the anchor on its first line and one on its last: the first and the last rows
    // it is found on, a little inside.
    auto firstOnRow = [&](int y) {
        for (int x = 0; x < 200; ++x) {
            TRect r;
            int index = -1;
            if (p->AnchorAt(x, y, r, index) == "x")
                return x;
        }
        return -1;
    };
    std::vector<QPoint> pieces;
    for (int y = 0; y < 200 && pieces.empty(); ++y)
        if (firstOnRow(y) >= 0)
            pieces.push_back({firstOnRow(y) + 2, y + 2});
    for (int y = 199; y >= 0 && pieces.size() < 2; --y)
        if (firstOnRow(y) >= 0)
            pieces.push_back({firstOnRow(y) + 2, y - 2});
    ASSERT_EQ(pieces.size(), 2u);
    ASSERT_LT(pieces[1].x(), pieces[0].x()) << "the anchor must wrap";
    TBitmap fresh;
    std::vector<String> events;
    p->OnAnchorEnter = [&](TObject*, const String& a) { events.push_back("enter " + a); };
    p->OnAnchorExit = [&](TObject*, const String&) { events.push_back("exit"); };
    for (size_t i = 0; i < pieces.size(); ++i) {
        const char* line = i == 0 ? "first line" : "last line";
        events.clear();
        QTest::mouseMove(p->Widget(), pieces[i]);
        int painted = 0;  // as a fresh painting of the whole panel shows the hover
        ASSERT_TRUE(WaitUntil([&] {
            p->PaintTo(fresh);
            painted = CountPixels(fresh.ToImage(), hover);
            return painted > 100;
        }, 5000)) << line;
        EXPECT_TRUE(WaitUntil([&] { return CountPixels(ScreenShot(*p), hover) == painted; }, 5000)) << line;
        QTest::mouseMove(p->Widget(), QPoint(100, 190));
        EXPECT_TRUE(WaitUntil([&] { return CountPixels(ScreenShot(*p), hover) == 0; }, 5000)) << line;
        EXPECT_EQ(events, (std::vector<String>{"enter x", "exit"})) << line;
    }
}
