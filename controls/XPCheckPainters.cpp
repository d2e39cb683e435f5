// The painters of check boxes and radio buttons: the box is redrawn, the caption stays.
#include "ControlSubClass.h"

#include "CheckBoxes.h"
#include "ListBoxes.h"
#include "XPLook.h"

namespace {

// The square of a scroll bar's width, centred vertically at the left (or the right) of r.
TRect BoxOf(const TRect& r, bool atRight = false)
{
    const int size = TCustomListBox::ScrollBarWidth();
    const int top = r.Top + (r.Bottom - r.Top - size) / 2;
    const int left = atRight ? r.Right - size : r.Left;
    return {left, top, left + size, top + size};
}

// Clears the box's columns in the control colour, from the top of the control to its bottom: the
// control's own indicator, centred by its own rule, may stand a pixel above the box. A control
// that shows its parent's colour takes that one.
void ClearBoxColumns(TCanvas& canvas, const TControl& control, const TRect& box)
{
    const TRect client = control.ClientRect();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = control.ParentColor() && control.Parent() ? control.Parent()->Color() : control.Color();
    canvas.FillRect(TRect{box.Left, client.Top, box.Right, client.Bottom});
}

// Three parallel strokes; x and y are the left and bottom of the inner box.
void DrawCheckMark(TCanvas& canvas, int x, int y)
{
    for (int k = 0; k < 3; ++k) {
        canvas.MoveTo(x + 2, y - 5 - k);
        canvas.LineTo(x + 4, y - 3 - k);
        canvas.LineTo(x + 9, y - 8 - k);
    }
}

}  // namespace

void TControlSubClass::PaintCheckBox(TCanvas& canvas)
{
    auto* box = static_cast<TCheckBox*>(Control);
    const TRect client = Control->ClientRect();
    const TRect area = BoxOf(TRect{client.Left, client.Top + 3, client.Right, client.Bottom - 3}, box->BoxAtRight());
    const bool lit = FMouseInControl || FFocused;
    const bool pressed = FSpaceDown || (FMouseDown && FMouseInControl);
    const bool grayed = box->State() == cbGrayed;
    TColor fill = lit ? XPLook->FFSelectColor : ColorToRGB(clWindow);
    const TColor frame = lit ? ColorToRGB(XPLook->FFSelectBorderColor) : ColorToRGB(clBtnShadow);
    if (pressed)
        fill = XPLook->FFCheckedAreaSelectedColor;
    if (grayed)
        fill = 0xC0C0C0;
    ClearBoxColumns(canvas, *Control, area);
    const TRect inner{area.Left + 2, area.Top + 2, area.Right - 2, area.Bottom - 2};
    canvas.Brush.Color = fill;
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = frame;
    canvas.Rectangle(inner);
    if (!box->Checked() && !grayed)
        return;
    TColor mark = grayed ? 0x808080 : pressed ? clWindow : clHighlight;
    if (!Control->Enabled())
        mark = XPLook->FFDisabledColor;
    canvas.Pen.Color = mark;
    DrawCheckMark(canvas, inner.Left, inner.Bottom);
}

void TControlSubClass::PaintRadioButton(TCanvas& canvas)
{
    auto* button = static_cast<TRadioButton*>(Control);
    const TRect client = Control->ClientRect();
    const TRect area = BoxOf(TRect{client.Left, client.Top + 4, client.Right, client.Bottom - 4}, button->BoxAtRight());
    const bool hot = FMouseInControl;
    const TColor fill = hot || FFocused ? XPLook->FFSelectColor : ColorToRGB(clWindow);
    const TColor frame = hot ? ColorToRGB(XPLook->FFSelectBorderColor) : ColorToRGB(clBtnShadow);
    ClearBoxColumns(canvas, *Control, area);
    const TRect circle{area.Left + 2, area.Top + 2, area.Right - 2, area.Bottom - 2};
    canvas.Brush.Color = fill;
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = frame;
    canvas.Ellipse(circle.Left, circle.Top, circle.Right, circle.Bottom);
    if (!button->Checked())
        return;
    const TColor dot = Control->Enabled() ? clHighlight : XPLook->FFDisabledColor;
    canvas.Brush.Color = dot;
    canvas.Pen.Color = dot;
    canvas.Ellipse(circle.Left + 2, circle.Top + 2, circle.Right - 2, circle.Bottom - 2);
}
