// The face of a speed button in the XP look; the button's own glyph drawing goes on top.
#include "ControlSubClass.h"

#include "XPColors.h"
#include "XPLook.h"

bool TControlSubClass::PaintSpeedFace(TCanvas& canvas, bool down, bool flat, bool reallyInside)
{
    const TRect r = Control->ClientRect();
    const TColor parent = Control->Parent() ? Control->Parent()->Color() : clBtnFace;
    const bool fromParent = Control->Tag == 1000;
    const bool enabled = Control->Enabled();
    // A flat button may have missed the leave: only the cursor being inside makes it hot.
    const bool hot = FMouseInControl && enabled && (!flat || reallyInside);
    const bool pressed = FMouseDown && hot;
    TColor face, frame;
    if (hot) {
        face = flat ? XPLook->FFSelectColor : LightenColor(fromParent ? parent : clBtnFace, TXPLook::HotButtonShade);
        frame = LightenColor(XPLook->FFSelectBorderColor, 60);
    } else {
        face = flat ? ColorToRGB(parent) : fromParent ? LightenColor(parent, TXPLook::ButtonShade) : XPLook->FFIconBackColor;
        frame = clBtnShadow;
    }
    if (down) {
        face = hot ? XPLook->FFCheckedAreaSelectedColor : XPLook->FFCheckedAreaColor;
        frame = XPLook->FFSelectBorderColor;
    }
    if (!enabled)
        frame = clBtnShadow;
    if (down || hot || !flat) {
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = face;
        canvas.Pen.Style = psSolid;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = frame;
        canvas.Rectangle(r);
    }
    if (enabled && (!flat || pressed || down)) {
        const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
        canvas.Pen.Color = DarkenColor(frame, 50);
        if (pressed || down) {
            canvas.MoveTo(L, B - 1);
            canvas.LineTo(L, T);
            canvas.LineTo(R, T);
        } else {
            canvas.MoveTo(R - 1, T);
            canvas.LineTo(R - 1, B - 1);
            canvas.LineTo(L - 1, B - 1);
        }
    }
    return pressed;
}
