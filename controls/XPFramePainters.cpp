// The painters of the combo boxes, the panel, the group box, and the frames of lists, progress
// bars and hot-key controls.
#include "ControlSubClass.h"

#include "ExtCtrls.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "XPColors.h"
#include "XPLook.h"

#include <algorithm>

namespace {

TColor ParentColorOf(TControl* control)
{
    return control->Parent() ? control->Parent()->Color() : clBtnFace;
}

// Rows of 5, 3 and 1 pixels, the widest at (x, y).
void DrawDropDownArrow(TCanvas& canvas, int x, int y, TColor color)
{
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = color;
    for (int row = 0; row < 3; ++row)
        canvas.FillRect(TRect{x + row, y + row, x + 5 - row, y + row + 1});
}

void Frame(TCanvas& canvas, const TRect& r, TColor color)
{
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = color;
    canvas.FrameRect(r);
}

}  // namespace

void TControlSubClass::PaintCombo(TCanvas& canvas)
{
    auto* combo = static_cast<TComboBox*>(Control);
    const TRect client = Control->ClientRect();
    const TColor parent = ParentColorOf(Control);
    const TColor own = Control->Color();
    const bool hot = FMouseInControl;
    const bool lit = hot || FFocused;
    const bool dropped = combo->DroppedDown();
    TColor frame = hot ? XPLook->FFSelectBorderColor : FFocused ? LightenColor(XPLook->FFSelectBorderColor, 60) : own;
    TColor button = hot       ? XPLook->FFSelectColor
                    : FFocused ? XPLook->FFCheckedAreaColor
                    : Control->Tag == 1000 ? LightenColor(parent, TXPLook::ButtonShade)
                                           : ColorToRGB(clBtnFace);
    TColor arrow = Control->Enabled() ? clBlack : clWhite;
    if (dropped) {
        frame = XPLook->FFSelectBorderColor;
        button = XPLook->FFCheckedAreaSelectedColor;
        arrow = clWhite;
    }
    Frame(canvas, client, parent);
    TRect inner{client.Left + 1, client.Top + 1, client.Right - 1, client.Bottom - 1};
    Frame(canvas, inner, own);
    Frame(canvas, lit ? client : inner, frame);
    if (combo->Style() == csSimple)
        return;
    const int width = TCustomListBox::ScrollBarWidth() + 1 + (lit ? 1 : 0);
    // Right to left, the button stands at the left.
    const bool rtl = Control->UseRightToLeftAlignment();
    const TRect area = rtl ? TRect{inner.Left, inner.Top, inner.Left + width, inner.Bottom}
                           : TRect{inner.Right - width, inner.Top, inner.Right, inner.Bottom};
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = button;
    canvas.FillRect(area);
    // The strip between text and button keeps the control colour, edged in the frame colour;
    // it also covers whatever of the box's own, wider button lies beside it.
    TRect native = combo->ButtonRect();
    if (native.Right <= native.Left)
        native = area;
    canvas.Brush.Color = own;
    canvas.FillRect(rtl ? TRect{area.Right - 5, area.Top, std::max(area.Right, native.Right), area.Bottom}
                        : TRect{std::min(area.Left, native.Left), area.Top, area.Left + 5, area.Bottom});
    canvas.Brush.Color = frame;
    canvas.FillRect(rtl ? TRect{area.Right - 6, area.Top, area.Right - 5, area.Bottom}
                        : TRect{area.Left + 5, area.Top, area.Left + 6, area.Bottom});
    DrawDropDownArrow(canvas, rtl ? client.Left + 5 : client.Right - 10, client.Top + 10, arrow);
}

void TControlSubClass::PaintPanel(TCanvas& canvas)
{
    auto* panel = static_cast<TPanel*>(Control);
    const TColor dark = DarkenColor(Control->Color(), 60);
    const TColor light = LightenColor(Control->Color(), 60);
    TRect r = Control->ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvLowered)
            Frame3D(canvas, r, dark, light, panel->BevelWidth);
        else if (cut == bvRaised)
            Frame3D(canvas, r, light, dark, panel->BevelWidth);
    };
    bevel(panel->BevelOuter);
    const int border = panel->BorderWidth();
    r = {r.Left + border, r.Top + border, r.Right - border, r.Bottom - border};
    bevel(panel->BevelInner);
}

void TControlSubClass::PaintGroupBox(TCanvas& canvas)
{
    const TRect client = Control->ClientRect();
    const String caption = Control->Caption();
    canvas.Font.Assign(Control->Font);
    const int h = canvas.TextHeight(caption.empty() ? String(" ") : caption);
    const int w = caption.empty() ? 0 : canvas.TextWidth(caption);
    const TColor own = Control->Color();
    const TColor shade = DarkenColor(own, 60);
    const TColor light = LightenColor(own, 60);
    // The box's own frame and title go; ours take their place.
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = own;
    canvas.FillRect(client);
    const int top = h / 2 - 1;
    TRect frame{client.Left, client.Top + top, client.Right, client.Bottom};
    const TColor topLeft = static_cast<TWinControl*>(Control)->Ctl3D() ? light : shade;
    Frame3D(canvas, frame, topLeft, shade, 1);
    canvas.Brush.Color = ParentColorOf(Control);
    canvas.FillRect(TRect{client.Left, client.Top, client.Right, client.Top + top});
    if (caption.empty())
        return;
    const TRect box = Control->UseRightToLeftAlignment() ? TRect{client.Right - 9 - w, client.Top, client.Right - 9, client.Top + h}
                                                         : TRect{client.Left + 9, client.Top, client.Left + 9 + w, client.Top + h};
    canvas.Brush.Color = own;
    canvas.FillRect(box);
    canvas.Brush.Style = bsClear;
    TRect text = box;
    canvas.DrawText(caption, text, DT_SINGLELINE | (Control->UseRightToLeftReading() ? DT_RTLREADING : 0u));
    // The frame's top line meets the caption box from both sides.
    canvas.Pen.Style = psSolid;
    canvas.Pen.Color = topLeft;
    canvas.MoveTo(client.Left, client.Top + top);
    canvas.LineTo(box.Left, client.Top + top);
    canvas.MoveTo(box.Right, client.Top + top);
    canvas.LineTo(client.Right - 1, client.Top + top);
}

void TControlSubClass::PaintListBorder(TCanvas& canvas)
{
    XPLook->UpdateColors(canvas);
    FlattenBorder();
    const bool single = static_cast<TWinControl*>(Control)->BorderStyle() == bsSingle;
    const TColor color = FMouseInControl || FFocused ? LightenColor(XPLook->FFSelectBorderColor, single ? 60 : 80)
                         : single                   ? DarkenColor(ParentColorOf(Control), 60)
                                                    : ColorToRGB(ParentColorOf(Control));
    Frame(canvas, TRect{0, 0, Control->Width(), Control->Height()}, color);
}

void TControlSubClass::PaintLookupCombo(TCanvas& canvas)
{
    FlattenBorder();
    auto* combo = static_cast<TComboBox*>(Control);
    const int w = Control->Width(), h = Control->Height();
    const bool hot = FMouseInControl;
    const bool lit = hot || FFocused;
    const TColor outer = hot ? ColorToRGB(XPLook->FFSelectBorderColor) : DarkenColor(ParentColorOf(Control), 60);
    TColor fill = hot ? XPLook->FFSelectColor : FFocused ? XPLook->FFCheckedAreaColor : ColorToRGB(clBtnFace);
    TColor buttonFrame = hot ? ColorToRGB(XPLook->FFSelectBorderColor) : LightenColor(XPLook->FFSelectBorderColor, 60);
    TColor arrow = Control->Enabled() ? clBlack : clWhite;
    if (combo->DroppedDown()) {
        buttonFrame = ColorToRGB(XPLook->FFSelectBorderColor);
        fill = XPLook->FFCheckedAreaSelectedColor;
        arrow = clWhite;
    }
    Frame(canvas, TRect{0, 0, w, h}, outer);
    Frame(canvas, TRect{1, 1, w + 1, h + 1}, Control->Color());
    const int width = TCustomListBox::ScrollBarWidth() + 1 + (lit ? 1 : 0);
    const TRect button{w - 1 - width, 1, w - 1, h - 1};
    canvas.Brush.Color = fill;
    canvas.FillRect(button);
    Frame(canvas, button, buttonFrame);
    DrawDropDownArrow(canvas, w - 9, 8, arrow);
}

void TControlSubClass::PaintProgressBar(TCanvas& canvas)
{
    const TColor color = FMouseInControl ? ColorToRGB(XPLook->FFSelectBorderColor) : DarkenColor(ParentColorOf(Control), 60);
    Frame(canvas, TRect{0, 0, Control->Width(), Control->Height()}, color);
}

void TControlSubClass::PaintHotKey(TCanvas& canvas)
{
    const TColor color = FMouseInControl || FFocused ? LightenColor(XPLook->FFSelectBorderColor, 60)
                                                     : DarkenColor(ParentColorOf(Control), 60);
    const TRect r{0, 0, Control->Width(), Control->Height()};
    Frame(canvas, r, color);
    Frame(canvas, TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, clWindow);
}
