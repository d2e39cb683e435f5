// The painters of the combo box, the panel, the group box and the list box.
#include "ControlSubClass.h"

#include "ExtCtrls.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "XPColors.h"
#include "XPLook.h"

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
    const TRect area{inner.Right - width, inner.Top, inner.Right, inner.Bottom};
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = button;
    canvas.FillRect(area);
    // The strip between text and button keeps the control colour, edged in the frame colour.
    canvas.Brush.Color = own;
    canvas.FillRect(TRect{area.Left, area.Top, area.Left + 5, area.Bottom});
    canvas.Brush.Color = frame;
    canvas.FillRect(TRect{area.Left + 5, area.Top, area.Left + 6, area.Bottom});
    DrawDropDownArrow(canvas, client.Right - 10, client.Top + 10, arrow);
}

void TControlSubClass::PaintPanel(TCanvas& canvas)
{
    auto* panel = static_cast<TPanel*>(Control);
    const TColor dark = DarkenColor(Control->Color(), 60);
    const TColor light = LightenColor(Control->Color(), 60);
    TRect r = Control->ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvLowered)
            Frame3D(canvas, r, dark, light);
        else if (cut == bvRaised)
            Frame3D(canvas, r, light, dark);
    };
    bevel(panel->BevelOuter);
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
    Frame3D(canvas, frame, light, shade, 1);
    canvas.Brush.Color = ParentColorOf(Control);
    canvas.FillRect(TRect{client.Left, client.Top, client.Right, client.Top + top});
    if (caption.empty())
        return;
    const TRect box{client.Left + 9, client.Top, client.Left + 9 + w, client.Top + h};
    canvas.Brush.Color = own;
    canvas.FillRect(box);
    canvas.Brush.Style = bsClear;
    TRect text = box;
    canvas.DrawText(caption, text, DT_SINGLELINE);
}

void TControlSubClass::PaintListBorder(TCanvas& canvas)
{
    // List boxes here always have a single border.
    const TColor color = FMouseInControl || FFocused ? LightenColor(XPLook->FFSelectBorderColor, 60)
                                                     : DarkenColor(ParentColorOf(Control), 60);
    Frame(canvas, TRect{0, 0, Control->Width(), Control->Height()}, color);
}
