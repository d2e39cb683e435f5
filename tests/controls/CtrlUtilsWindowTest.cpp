// The utilities that work on windows: the parent's background, disabled list images, the
// foreground test, dropping queued presses and the glyph cursors.
#include "CtrlUtils.h"
#include "ExtCtrls.h"
#include "GlyphConsts.h"
#include "GlyphCtrls.h"
#include "ImgList.h"
#include "PaintProbe.h"
#include "RealInput.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

const TColor PanelColor = RGB(10, 200, 30);
const TColor BoxColor = RGB(20, 40, 220);

// A panel holding a painted box, then a transparent glyph button over the box's right half,
// then a box that comes after the button.
struct Backdrop {
    TForm form {nullptr};
    TPanel* panel = new TPanel(&form);
    TPaintBox* before = new TPaintBox(&form);
    TGlyphSpeedButton* button = new TGlyphSpeedButton(&form);
    TPaintBox* after = new TPaintBox(&form);

    Backdrop()
    {
        panel->SetParent(&form);
        panel->SetBounds(0, 0, 200, 100);
        panel->BevelOuter = bvNone;
        panel->SetColor(PanelColor);
        for (TPaintBox* box : {before, after})
            box->OnPaint = [box](TObject*) {
                box->Canvas().Brush.Color = BoxColor;
                box->Canvas().FillRect(box->ClientRect());
            };
        before->SetParent(panel);
        before->SetBounds(10, 10, 30, 30);
        button->SetParent(panel);
        button->SetBounds(25, 10, 30, 30);
        after->SetParent(panel);
        after->SetBounds(45, 10, 30, 30);
    }
};

}  // namespace

TEST(PaintParentBackground, ATransparentGlyphButtonShowsWhatLiesUnderIt)
{
    Backdrop b;
    b.button->SetTransparent(true);
    // Button pixels 5 to 14 across lie over the earlier box; beyond it the panel shows, and the
    // later box (from button pixel 20) is not part of the background.
    EXPECT_EQ(Shot(*b.button, 10, 15), BoxColor);
    EXPECT_EQ(Shot(*b.button, 17, 15), PanelColor);
    EXPECT_EQ(Shot(*b.button, 24, 15), PanelColor);
    b.button->SetTransparent(false);
    EXPECT_EQ(Shot(*b.button, 10, 15), ColorToRGB(clBtnFace));

    TBitmap unparented(10, 10, pf24bit);
    unparented.Canvas().Brush.Color = clWhite;
    unparented.Canvas().FillRect({0, 0, 10, 10});
    TGlyphSpeedButton loose(nullptr);
    PaintParentBackground(&loose, unparented.Canvas());
    PaintParentBackground(nullptr, unparented.Canvas());
    EXPECT_EQ(At(unparented, 5, 5), clWhite);
}

TEST(DrawListImageDisabled, TheImagesShapeInShadowOverAShiftedHighlight)
{
    TImageList list(nullptr, 4, 4);
    TBitmap picture(4, 4, pf24bit);
    picture.Canvas().Brush.Color = clFuchsia;
    picture.Canvas().FillRect({0, 0, 4, 4});
    picture.Canvas().Brush.Color = clRed;
    picture.Canvas().FillRect({0, 0, 2, 2});  // opaque top-left square
    picture.Canvas().Release();
    list.AddMasked(picture, clFuchsia);

    TBitmap target(8, 8, pf24bit);
    auto clear = [&] {
        target.Canvas().Brush.Color = clWhite;
        target.Canvas().FillRect({0, 0, 8, 8});
    };
    clear();
    DrawListImageDisabled(list, target.Canvas(), 2, 2, 0, clYellow, clNavy, true);
    EXPECT_EQ(At(target, 2, 2), clNavy);
    EXPECT_EQ(At(target, 3, 3), clNavy);
    EXPECT_EQ(At(target, 4, 4), clYellow);  // the highlight one pixel right and down
    EXPECT_EQ(At(target, 4, 2), clWhite);
    EXPECT_EQ(At(target, 5, 5), clWhite);

    clear();
    DrawListImageDisabled(list, target.Canvas(), 2, 2, 0, clYellow, clNavy, false);
    EXPECT_EQ(At(target, 4, 4), clWhite);
    DrawListImageDisabled(list, target.Canvas(), 2, 2, 1, clYellow, clNavy, true);  // no such image
    EXPECT_EQ(At(target, 4, 4), clWhite);
}

TEST(AppIsForeground, FollowsTheActiveWindow)
{
    TForm form(nullptr);
    form.SetBounds(50, 50, 100, 100);
    ASSERT_TRUE(ShowActive(form));
    EXPECT_TRUE(AppIsForeground());
    form.Hide();
    EXPECT_TRUE(QTest::qWaitFor([] { return !AppIsForeground(); }));
}

TEST(DropQueuedMessage, RemovesTheQueuedPressesOfOneControl)
{
    TForm form(nullptr);
    TPaintBox* box = new TPaintBox(&form);
    TPaintBox* other = new TPaintBox(&form);
    int presses = 0, otherPresses = 0, doubles = 0;
    box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
    box->OnDblClick = [&](TObject*) { ++doubles; };
    other->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++otherPresses; };
    auto post = [](TControl* c, QEvent::Type type) {
        QCoreApplication::postEvent(c->Widget(), new QMouseEvent(type, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                                                                 Qt::LeftButton, Qt::NoModifier));
    };
    post(box, QEvent::MouseButtonPress);
    post(box, QEvent::MouseButtonDblClick);
    post(other, QEvent::MouseButtonPress);
    DropQueuedMessage(box, WM_LBUTTONDOWN);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(presses, 0);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(otherPresses, 1);

    post(box, QEvent::MouseButtonDblClick);
    DropQueuedMessage(box, WM_LBUTTONDBLCLK);
    DropQueuedMessage(nullptr, WM_LBUTTONDBLCLK);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(doubles, 1);
}

TEST(GlyphCursors, StandInTheirSlotsAndCanBeChosen)
{
    RegisterGlyphCursors();
    ASSERT_TRUE(HasScreenCursor(HandCursorSlot));
    ASSERT_TRUE(HasScreenCursor(DragCursorSlot));
    EXPECT_FALSE(HasScreenCursor(HandCursorSlot + 2));
    TPaintBox box(nullptr);
    box.SetCursor(static_cast<TCursor>(HandCursorSlot));
    EXPECT_EQ(box.Widget()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(box.Widget()->cursor().hotSpot(), QPoint(6, 0));
    EXPECT_FALSE(box.Widget()->cursor().pixmap().isNull());
    box.SetCursor(crDefault);
    EXPECT_EQ(box.Widget()->cursor().shape(), Qt::ArrowCursor);
}
