// Painted buttons driven by real mouse and key events: one click is one action, the hot look
// survives a click, accelerators and action links.
#include "ActnList.h"
#include "ExtCtrls.h"
#include "GlyphCtrls.h"
#include "ListBoxes.h"
#include "PaintProbe.h"
#include "RealInput.h"
#include "SpeedBtns.h"
#include "SpinEdits.h"
#include "StdCtrls.h"
#include "VeskGaugeUnit.h"

#include <QCursor>
#include <gtest/gtest.h>

namespace {

class ButtonInput : public ::testing::Test {
protected:
    TForm form {nullptr};
    int clicks = 0;

    void SetUp() override { form.SetBounds(100, 100, 300, 200); }

    template <typename Control>
    Control* Place(int left, int top, int width = 40, int height = 25)
    {
        auto* control = new Control(&form);
        control->SetParent(&form);
        control->SetBounds(left, top, width, height);
        control->OnClick = [this](TObject*) { ++clicks; };
        return control;
    }
};

}  // namespace

TEST_F(ButtonInput, EveryPaintedControlClicksOncePerClick)
{
    auto* speed = Place<TFlatSpeedButton>(0, 0);
    auto* menuStyle = Place<TFlatSpeedButton>(50, 0);
    menuStyle->SetStyle(sbsMenu);
    auto* glyph = Place<TGlyphSpeedButton>(100, 0);
    auto* grouped = Place<TGlyphSpeedButton>(150, 0);
    grouped->SetGroupIndex(1);
    auto* box = Place<TPaintBox>(0, 50);
    auto* image = Place<TImage>(50, 50);
    auto* panel = Place<TPanel>(100, 50);
    auto* gauge = Place<TVeskGauge>(150, 50);
    ASSERT_TRUE(ShowActive(form));
    for (TControl* c : std::initializer_list<TControl*> {speed, menuStyle, glyph, grouped, box, image, panel, gauge}) {
        clicks = 0;
        ClickOn(*c);
        EXPECT_EQ(clicks, 1) << c->Width() << " at " << c->Left() << "," << c->Top();
    }
}

TEST_F(ButtonInput, SpinButtonsStepOncePerClickAndTwicePerDoubleClick)
{
    auto* edit = new TFloatSpinEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 121, 22);
    ASSERT_TRUE(ShowActive(form));
    TTimerSpeedButton* up = edit->Button()->UpButton();
    ClickOn(*up);
    EXPECT_EQ(edit->Text(), "1.00");
    ClickOn(*edit->Button()->DownButton());
    EXPECT_EQ(edit->Text(), "0.00");
    // The second press of a double click is a press of its own, as with any button.
    DoubleClickOn(*up);
    EXPECT_EQ(edit->Text(), "2.00");
}

TEST_F(ButtonInput, DoubleClickOnAGroupedButtonFiresOnDblClickOnce)
{
    auto* glyph = Place<TGlyphSpeedButton>(0, 0);
    glyph->SetGroupIndex(1);
    glyph->SetAllowAllUp(true);
    int doubles = 0;
    glyph->OnDblClick = [&](TObject*) { ++doubles; };
    ASSERT_TRUE(ShowActive(form));
    DoubleClickOn(*glyph);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubles, 1);
    EXPECT_FALSE(glyph->Down());  // down with the first click, up with the second
}

TEST_F(ButtonInput, FlatButtonsStayHotAfterAClickWithThePointerOnThem)
{
    auto* speed = Place<TFlatSpeedButton>(0, 0);
    speed->SetFlat(true);
    auto* glyph = Place<TGlyphSpeedButton>(60, 0);
    glyph->SetFlat(true);
    int enters = 0, leaves = 0;
    glyph->OnMouseEnter = [&](TObject*) { ++enters; };
    glyph->OnMouseLeave = [&](TObject*) { ++leaves; };
    ASSERT_TRUE(ShowActive(form));

    PointAt(*speed);
    ASSERT_TRUE(speed->MouseInControl());
    ClickOn(*speed);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(speed->MouseInControl());

    PointAt(*glyph);
    ASSERT_TRUE(glyph->Hovered());
    ClickOn(*glyph);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(glyph->Hovered());
    // The hot face has its raised frame; the inactive one shows plain face colour there.
    EXPECT_EQ(Shot(*glyph, 0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_GE(enters, 1);
    EXPECT_EQ(leaves, 0);

    // Released away from the button: the hot look goes.
    QTest::mousePress(glyph->Widget(), Qt::LeftButton, {}, CentreOf(*glyph));
    QCursor::setPos(form.Widget()->mapToGlobal(QPoint(250, 150)));
    QTest::mouseRelease(glyph->Widget(), Qt::LeftButton, {}, QPoint(-50, 100));
    EXPECT_FALSE(glyph->Hovered());
    EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonInput, TheCaptionsAcceleratorClicksTheButton)
{
    auto* speed = Place<TFlatSpeedButton>(0, 0, 60);
    speed->SetCaption("&Open");
    int speedClicks = 0;
    speed->OnClick = [&](TObject*) { ++speedClicks; };
    auto* glyph = Place<TGlyphSpeedButton>(70, 0, 60);
    glyph->SetCaption("Save && &Quit");
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(0, 40, 100, 21);
    ASSERT_TRUE(ShowActive(form));
    form.Widget()->setFocus();

    QTest::keyClick(form.Widget(), Qt::Key_O);
    EXPECT_EQ(speedClicks, 1);
    QTest::keyClick(form.Widget(), Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(form.Widget(), Qt::Key_S);  // "&&" marks no letter
    EXPECT_EQ(clicks, 1);

    // A focused edit takes the plain letter as text; Alt with it still clicks.
    edit->SetFocus();
    QTest::keyClick(edit->Widget(), Qt::Key_O);
    EXPECT_EQ(edit->Text(), "o");
    EXPECT_EQ(speedClicks, 1);
    QTest::keyClick(edit->Widget(), Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(speedClicks, 2);

    // A list takes letters for its search.
    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->SetBounds(120, 40, 100, 60);
    list->Items().Add("one");
    list->Items().Add("open");
    list->SetFocus();
    QTest::keyClick(list->Widget(), Qt::Key_O);
    EXPECT_EQ(speedClicks, 1 + 1);

    speed->SetEnabled(false);
    QTest::keyClick(edit->Widget(), Qt::Key_O, Qt::AltModifier);
    form.Widget()->setFocus();
    QTest::keyClick(form.Widget(), Qt::Key_O);
    EXPECT_EQ(speedClicks, 2);
}

TEST_F(ButtonInput, ActionLinksShowTheActionAndRunIt)
{
    TAction action;
    action.SetCaption("&Print");
    action.SetHint("Print the cover");
    int executed = 0;
    action.OnExecute = [&](TObject*) { ++executed; };
    auto* glyph = Place<TGlyphSpeedButton>(0, 0, 60);
    glyph->OnClick = nullptr;
    glyph->SetGroupIndex(3);
    glyph->SetAllowAllUp(true);
    glyph->SetAction(&action);
    auto* speed = Place<TFlatSpeedButton>(70, 0, 60);
    speed->OnClick = nullptr;
    speed->SetAction(&action);
    EXPECT_EQ(glyph->Caption(), "&Print");
    EXPECT_EQ(speed->Hint(), "Print the cover");
    ASSERT_TRUE(ShowActive(form));

    ClickOn(*speed);
    EXPECT_EQ(executed, 1);
    action.SetChecked(true);
    EXPECT_TRUE(glyph->Down());
    action.SetEnabled(false);
    EXPECT_FALSE(glyph->Enabled());
    EXPECT_FALSE(speed->Enabled());
    ClickOn(*speed);
    EXPECT_EQ(executed, 1);
    action.SetEnabled(true);
    action.SetCaption("&Go");
    EXPECT_EQ(speed->Caption(), "&Go");
    // Both buttons answer to Alt+G; one of them takes each press.
    QTest::keyClick(form.Widget(), Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(executed, 2);
    speed->SetAction(nullptr);
    action.SetCaption("Other");
    EXPECT_EQ(speed->Caption(), "&Go");

    // An OnClick of the control's own comes first.
    int own = 0;
    glyph->OnClick = [&](TObject*) { ++own; };
    glyph->Click();
    EXPECT_EQ(own, 1);
    EXPECT_EQ(executed, 2);
}

TEST_F(ButtonInput, AnActionGoneUnlinksItsControls)
{
    auto* glyph = Place<TGlyphSpeedButton>(0, 0);
    {
        TAction action;
        glyph->SetAction(&action);
    }
    EXPECT_EQ(glyph->Action(), nullptr);
    glyph->Click();
    EXPECT_EQ(clicks, 1);
}
