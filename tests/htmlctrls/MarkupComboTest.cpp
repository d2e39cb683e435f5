#include "MarkupCombo.h"
#include "RealInput.h"
#include "Shell.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {
std::vector<String> g_opened;
bool Opened(const String& url)
{
    g_opened.push_back(url);
    return true;
}

struct Box {
    TForm form{nullptr};
    TMarkupComboBox* box = new TMarkupComboBox(&form);
    Box()
    {
        form.SetBounds(0, 0, 400, 100);
        box->SetParent(&form);
        box->SetBounds(0, 0, 300, 24);
    }
    void Press(int x, int y)
    {
        QWidget* w = box->Widget();
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void Type(char c)
    {
        QKeyEvent e(QEvent::KeyPress, c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c, Qt::NoModifier, QString(QChar(c)));
        QApplication::sendEvent(box->Widget(), &e);
    }
};
}  // namespace

TEST(MarkupComboBox, StaysOwnerDrawnAndKeepsButtonWidthInRange)
{
    Box b;
    EXPECT_EQ(b.box->Style(), csOwnerDrawFixed);
    b.box->SetStyle(csDropDown);
    EXPECT_EQ(b.box->Style(), csOwnerDrawFixed);
    int before = b.box->ButtonWidth();
    b.box->SetButtonWidth(40);
    EXPECT_EQ(b.box->ButtonWidth(), before);
    b.box->SetButtonWidth(14);
    EXPECT_EQ(b.box->ButtonWidth(), 14);
    b.box->SetButtonWidth(32);
    EXPECT_EQ(b.box->ButtonWidth(), 32);
    EXPECT_EQ(b.box->Version(), "1.5.0.0");
}

TEST(MarkupComboBox, ChoosingFiresChangeOnceAndCodeNever)
{
    Box b;
    int changes = 0;
    b.box->OnChange = [&](TObject*) { ++changes; };
    b.box->Items().SetText("one\ntwo\nthree");
    b.box->SetItemIndex(2);
    EXPECT_EQ(changes, 0);
    emit b.box->Combo()->activated(1);  // the user picks a line in the list
    EXPECT_EQ(changes, 1);
    emit b.box->Combo()->activated(1);  // re-choosing the shown line still counts
    EXPECT_EQ(changes, 2);
}

TEST(MarkupComboBox, StrippedItemsAndSorting)
{
    Box b;
    TObject bold, plain;
    b.box->Items().AddObject("<b>b</b>", &bold);
    b.box->Items().AddObject("a", &plain);
    EXPECT_EQ(b.box->StrippedItems(0), "b");
    EXPECT_THROW(b.box->StrippedItems(2), EMarkupComboBoxError);
    try {
        b.box->StrippedItems(-1);
    } catch (const EMarkupComboBoxError& e) {
        EXPECT_EQ(e.Message, "Item index out of range");
    }
    b.box->SetItemIndex(1);
    b.box->SetSorted(true);
    EXPECT_EQ(b.box->Items()[0], "a");
    EXPECT_EQ(b.box->Items()[1], "<b>b</b>");
    EXPECT_EQ(b.box->ItemIndex(), 1);
    // Each line's object goes with it.
    EXPECT_EQ(b.box->Items().Objects(0), &plain);
    EXPECT_EQ(b.box->Items().Objects(1), &bold);
}

TEST(MarkupComboBox, TypedLetterSelectsTheNextMatchWrapping)
{
    Box b;
    b.box->Items().SetText("Disc\nCover\n<i>dvd</i>\nBooklet");
    int changes = 0;
    b.box->OnChange = [&](TObject*) { ++changes; };
    b.box->SetItemIndex(1);
    b.Type('d');
    EXPECT_EQ(b.box->ItemIndex(), 2);
    b.box->SetItemIndex(3);
    b.Type('d');
    EXPECT_EQ(b.box->ItemIndex(), 0);  // nothing after the selection: from the start
    EXPECT_EQ(changes, 2);  // each typed choice is reported once
    b.Type('x');
    EXPECT_EQ(b.box->ItemIndex(), 0);  // no line starts with it: nothing chosen
    EXPECT_EQ(changes, 2);
    b.box->IncrLookup = true;
    b.box->LookupText.clear();
    b.Type('d');
    b.Type('v');
    EXPECT_EQ(b.box->ItemIndex(), 2);
    EXPECT_EQ(b.box->LookupText, "dv");
}

TEST(MarkupComboBox, WebAnchorsOpenInTheDesktopOthersRaiseTheEvent)
{
    Box b;
    SetShellOpenHook(Opened);
    g_opened.clear();
    std::vector<String> clicked;
    b.box->OnAnchorClick = [&](TObject*, int, const String& a) { clicked.push_back(a); };
    b.box->Items().Add("<a href=\"http://example.org/x\">web</a>");
    b.box->Items().Add("<a href=\"mailto:someone@example.org\">mail</a>");
    b.box->Items().Add("<a href=\"layout:3\">local</a>");
    for (int i = 0; i < 3; ++i) {
        b.box->SetItemIndex(i);
        b.Press(4, 6);
    }
    SetShellOpenHook(nullptr);
    ASSERT_EQ(g_opened.size(), 2u);
    EXPECT_EQ(g_opened[0], "http://example.org/x");
    EXPECT_EQ(g_opened[1], "mailto:someone@example.org");
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], "layout:3");
}

TEST(MarkupComboBox, LineHeightFollowsTheMarkup)
{
    Box b;
    TImageList images(nullptr, 16, 32);
    TBitmap tall(16, 32, pf24bit);
    images.Add(tall);
    b.box->SetImages(&images);
    b.box->Items().Add("<IMG src=\"idx:0\">tall");
    b.box->Items().Add("plain");
    int tallHeight = 0, plainHeight = 0, none = 0;
    b.box->MeasureItem(0, tallHeight);
    b.box->MeasureItem(1, plainHeight);
    b.box->MeasureItem(5, none);
    EXPECT_GE(tallHeight, 32 + 4);
    EXPECT_LT(plainHeight, tallHeight);
    EXPECT_EQ(none, b.box->EditHeight());
}

TEST(MarkupComboBox, ForgetsImagesAndPicturesThatAreDestroyed)
{
    Box b;
    auto* images = new TImageList(nullptr, 16, 16);
    auto* store = new TPictureStore(nullptr);
    b.box->SetImages(images);
    b.box->SetPictureStore(store);
    b.box->Items().Add("<img src=\"idx:0\"><img src=\"pic\">line");
    b.box->SetItemIndex(0);
    delete images;
    delete store;
    EXPECT_EQ(b.box->Images(), nullptr);
    EXPECT_EQ(b.box->PictureStore(), nullptr);
    TBitmap shot;
    b.box->PaintTo(shot);  // draws the line without the freed list and store
    EXPECT_EQ(b.box->StrippedItems(0), "line");
}

TEST(MarkupComboBox, ItemHintIsTheChosenLineAtTheCorner)
{
    Box b;
    b.box->Items().Add("<b>Disc</b> label");
    b.box->SetHint("the box");
    b.box->ItemHint = true;
    String text;
    TPoint at{50, 60};
    EXPECT_FALSE(b.box->ControlHintAt({5, 5}, text, at));  // nothing chosen: the box's own hint
    b.box->SetItemIndex(0);
    ASSERT_TRUE(b.box->ControlHintAt({5, 5}, text, at));
    EXPECT_EQ(text, "Disc label");
    EXPECT_EQ(at, b.box->ClientToScreen({0, 0}));
    b.box->HTMLHint = true;
    b.box->ControlHintAt({5, 5}, text, at);
    EXPECT_EQ(text, "<b>Disc</b> label");
}

TEST(MarkupComboBox, FlatButtonLiesFlatWhileTheListIsOpen)
{
    Box b;
    b.box->SetFlat(true);
    b.box->Items().SetText("one\ntwo");
    b.form.Show();
    const int w = b.box->Width(), h = b.box->Height();
    const int bx = w - b.box->ButtonWidth();  // the button's left edge
    auto buttonEdge = [&] {
        TBitmap shot;
        b.box->PaintTo(shot);
        return shot.Canvas().Pixel(bx, h / 2);
    };
    b.box->Combo()->showPopup();
    ASSERT_TRUE(b.box->DroppedDown());
    EXPECT_EQ(buttonEdge(), ColorToRGB(clBtnShadow));
    b.box->Combo()->hidePopup();
    EXPECT_NE(buttonEdge(), ColorToRGB(clBtnShadow));
    b.form.Hide();
}

TEST(MarkupComboBox, FlatButtonShowsItsArrowHotOrNot)
{
    struct State {
        const char* name;
        std::function<void(Box&)> enter;
    };
    const std::vector<State> states{{"idle", [](Box&) {}},
                                    {"pointer over it", [](Box& b) { PointAt(*b.box); }},
                                    {"focused", [](Box& b) { b.box->SetFocus(); }}};
    for (const State& state : states) {
        Box b;
        b.box->SetFlat(true);
        b.box->FocusBorder = true;
        b.box->Items().SetText("one\ntwo");
        b.box->SetItemIndex(0);
        QCursor::setPos(600, 500);  // clear of the window as it shows
        ASSERT_TRUE(ShowActive(b.form));
        b.box->Widget()->clearFocus();
        state.enter(b);
        QCoreApplication::processEvents();
        TBitmap shot;
        b.box->PaintTo(shot);
        // The arrow's middle, in the rightmost ButtonWidth pixels.
        const int x = b.box->Width() - b.box->ButtonWidth() / 2 - 1;
        const int y = b.box->Height() / 2 - 1;
        EXPECT_EQ(shot.Canvas().Pixel(x, y), ColorToRGB(clBtnText)) << state.name;
        // The face round it.
        EXPECT_EQ(shot.Canvas().Pixel(b.box->Width() - 5, b.box->Height() - 5), ColorToRGB(clBtnFace)) << state.name;
        b.form.Hide();
    }
}

TEST(MarkupComboBox, FlatTakesTheSunkenBorderAwayOnlyWhenItChanges)
{
    Box b;
    struct Step {
        bool ctl3DBefore, flat, ctl3DAfter;
    } steps[] = {
        {true, true, false},   // going flat drops the sunken border
        {true, true, true},    // setting the same value again leaves the border as it was set
        {true, false, true},   // going back raises it
        {false, false, false}, // unchanged: untouched
    };
    for (const Step& s : steps) {
        b.box->SetCtl3D(s.ctl3DBefore);
        b.box->SetFlat(s.flat);
        EXPECT_EQ(b.box->Ctl3D(), s.ctl3DAfter) << "flat " << s.flat << " from ctl3D " << s.ctl3DBefore;
    }
}
