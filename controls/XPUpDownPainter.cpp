// The up-down control in the XP look: two flat halves, the one under the pointer lit.
#include "ControlSubClass.h"

#include "XPColors.h"
#include "XPLook.h"

void TXPLook::DrawSpinArrow(TCanvas& canvas, int x, int y, int direction, TColor color)
{
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = color;
    // Rows one pixel wider on each side from the apex to the base, five in all.
    for (int row = 0; row < 5; ++row) {
        const int at = direction == 0 ? y + row : y + 3 - row;
        canvas.MoveTo(x - row, at);
        canvas.LineTo(x + row + 1, at);
    }
}

void TControlSubClass::PaintUpDown(TCanvas& canvas)
{
    const int w = Control->Width(), h = Control->Height();
    const TColor parent = Control->Parent() ? Control->Parent()->Color() : clBtnFace;
    const bool enabled = Control->Enabled();
    const TRect halves[2] = {{0, 0, w, h / 2}, {0, h / 2, w, h}};
    int hotHalf = -1;
    if (FMouseInControl) {
        const TPoint p = Control->ScreenToClient(MouseCursorPos());
        for (int i = 0; i < 2; ++i)
            if (p.X >= halves[i].Left && p.X < halves[i].Right && p.Y >= halves[i].Top && p.Y < halves[i].Bottom)
                hotHalf = i;
    }
    for (int i = 0; i < 2; ++i) {
        const TRect& r = halves[i];
        TColor fill, frame;
        TColor arrow = enabled ? clBlack : clWhite;
        if (i == hotHalf) {
            frame = ColorToRGB(XPLook->FFSelectBorderColor);
            if (FMouseDown) {
                fill = XPLook->FFCheckedAreaSelectedColor;
                arrow = clWhite;
            } else {
                fill = LightenColor(XPLook->FFSelectColor, 60);
            }
        } else {
            fill = Control->Tag == 1000 ? LightenColor(parent, 16) : LightenColor(XPLook->FFSelectColor, 16);
            frame = LightenColor(parent, 80);
        }
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = fill;
        canvas.Pen.Style = psSolid;
        canvas.Pen.Width = 1;
        canvas.Pen.Color = frame;
        canvas.Rectangle(r);
        TXPLook::DrawSpinArrow(canvas, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 - 2, i, arrow);
    }
}
