#include "UpDown.h"

#include "ExtCtrls.h"

#include <algorithm>

TUpDown::TUpDown(TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 17, 24);
}

void TUpDown::SetPosition(int value)
{
    position_ = std::clamp(value, std::min(Min, Max), std::max(Min, Max));
    Invalidate();
}

void TUpDown::SetOrientation(TUDOrientation value)
{
    orientation_ = value;
    Invalidate();
}

TUDBtnType TUpDown::ButtonAt(int x, int y) const
{
    if (orientation_ == udVertical)
        return y < Height() / 2 ? btNext : btPrev;
    return x >= Width() / 2 ? btNext : btPrev;
}

TRect TUpDown::ButtonRect(TUDBtnType button) const
{
    const int w = Width(), h = Height();
    if (orientation_ == udVertical)
        return button == btNext ? TRect{0, 0, w, h / 2} : TRect{0, h / 2, w, h};
    return button == btNext ? TRect{w / 2, 0, w, h} : TRect{0, 0, w / 2, h};
}

void TUpDown::Paint()
{
    TCanvas& c = Canvas();
    for (TUDBtnType button : {btNext, btPrev}) {
        TRect r = ButtonRect(button);
        const bool down = pressed_ && pressedButton_ == button;
        c.Brush.Style = bsSolid;
        c.Brush.Color = clBtnFace;
        c.FillRect(r);
        if (down)
            Frame3D(c, r, clBtnShadow, clBtnHighlight);
        else
            Frame3D(c, r, clBtnHighlight, cl3DDkShadow);
        // A solid arrow pointing the way the button steps.
        const int cx = (r.Left + r.Right) / 2 + (down ? 1 : 0), cy = (r.Top + r.Bottom) / 2 + (down ? 1 : 0);
        c.Pen.Color = Enabled() ? clBtnText : clGrayText;
        for (int i = 0; i < 3; ++i) {
            if (orientation_ == udVertical) {
                const int y = button == btNext ? cy - 1 + i : cy + 1 - i;
                c.MoveTo(cx - i, y);
                c.LineTo(cx + i + 1, y);
            } else {
                const int x = button == btNext ? cx + 1 - i : cx - 1 + i;
                c.MoveTo(x, cy - i);
                c.LineTo(x, cy + i + 1);
            }
        }
    }
}

void TUpDown::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    pressed_ = true;
    pressedButton_ = ButtonAt(x, y);
    const int step = pressedButton_ == btNext ? Increment : -Increment;
    int next = position_ + step;
    if (next > Max)
        next = Wrap ? Min : Max;
    else if (next < Min)
        next = Wrap ? Max : Min;
    SetPosition(next);
    Repaint();
    Fire(OnClick, this, pressedButton_);
}

void TUpDown::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (button == mbLeft && pressed_) {
        pressed_ = false;
        Repaint();
    }
}
