#include "ControlSubClass.h"

#include "CheckBoxes.h"
#include "ControlHook.h"
#include "ExtCtrls.h"
#include "ListBoxes.h"
#include "RoundRects.h"
#include "StdCtrls.h"
#include "XPColors.h"
#include "XPLook.h"

TControlSubClass::TControlSubClass(TXPLook* owner, TControl* control) : TComponent(owner), Control(control), XPLook(owner)
{
    Hook();
}

TControlSubClass::TControlSubClass(TXPLook* owner, TControlSubClass& from)
    : TComponent(owner), Control(from.Control), XPLook(owner)
{
    from.Restore();
    Hook();
}

TControlSubClass::~TControlSubClass() = default;

void TControlSubClass::Hook()
{
    hook_ = std::make_unique<TControlHook>(Control, [this](THookMessage m, TCanvas* c) { Message(m, c); });
    Control->Invalidate();
}

void TControlSubClass::Restore()
{
    hook_.reset();
    if (Control)
        Control->Invalidate();
}

void TControlSubClass::Message(int message, TCanvas* canvas)
{
    if (XPLook && !XPLook->Active()) {
        // The look went off: the control gets its own handling back and the hook ends.
        Restore();
        Control = nullptr;
        delete this;
        return;
    }
    const bool enabled = Control->Enabled();
    switch (message) {
    case hmDestroy:
        hook_.reset();
        Control = nullptr;
        delete this;
        return;
    case hmPaint:
        PaintControlXP(*canvas);
        return;
    case hmSetFocus: FMouseInControl = true; break;
    case hmKillFocus: FMouseInControl = false; break;
    case hmMouseEnter:
        if (enabled)
            FMouseInControl = true;
        break;
    case hmMouseLeave:
        if (enabled)
            FMouseInControl = false;
        break;
    case hmLButtonDown: FMouseDown = true; break;
    case hmLButtonUp: FMouseDown = false; break;
    case hmSpaceDown:
        FSpaceDown = true;
        if (FSpacePainted)
            return;  // key repeats do not paint again
        FSpacePainted = true;
        break;
    case hmSpaceUp: FSpaceDown = FSpacePainted = false; break;
    case hmEnabledChanged:
        if (!enabled)
            FMouseInControl = false;
        break;
    default: break;
    }
    Control->Invalidate();
}

static TColor ParentColor(TControl* control)
{
    return control->Parent() ? control->Parent()->Color() : clBtnFace;
}

void TControlSubClass::PaintControlXP(TCanvas& canvas)
{
    auto* win = dynamic_cast<TWinControl*>(Control);
    FFocused = win && win->Focused();
    if (XPLook->ColorsChanged())
        XPLook->UpdateColors();
    if (dynamic_cast<TEdit*>(Control))
        PaintEdit(canvas);
    else if (dynamic_cast<TCheckBox*>(Control))
        PaintCheckBox(canvas);
    else if (dynamic_cast<TRadioButton*>(Control))
        PaintRadioButton(canvas);
    else if (dynamic_cast<TButton*>(Control))
        PaintButton(canvas);
    else if (Control->Visible() && (PaintFlatSpeedButton(canvas) || PaintGlyphSpeedButton(canvas)))
        return;
    else if (dynamic_cast<TComboBox*>(Control))
        PaintCombo(canvas);
    else if (dynamic_cast<TPanel*>(Control))
        PaintPanel(canvas);
    else if (dynamic_cast<TGroupBox*>(Control))
        PaintGroupBox(canvas);
    else if (dynamic_cast<TCustomListBox*>(Control))
        PaintListBorder(canvas);
}

void TControlSubClass::PaintEdit(TCanvas& canvas)
{
    const TColor frame = FMouseInControl || FFocused ? LightenColor(XPLook->FFSelectBorderColor, 60)
                                                     : DarkenColor(ParentColor(Control), 60);
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = frame;
    canvas.FrameRect(Control->ClientRect());
}

void TControlSubClass::PaintButton(TCanvas& canvas)
{
    const TRect r = Control->ClientRect();
    const TColor parent = ParentColor(Control);
    const bool fromParent = Control->Tag == 1000;
    const bool hot = FMouseInControl;
    const TColor face = hot ? LightenColor(fromParent ? parent : clBtnFace, TXPLook::HotButtonShade)
                            : (fromParent ? LightenColor(parent, TXPLook::ButtonShade) : XPLook->FFIconBackColor);
    const TColor frame = hot || FFocused ? LightenColor(XPLook->FFSelectBorderColor, 60) : clBtnShadow;
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = parent;
    canvas.FillRect(r);
    canvas.Brush.Color = face;
    canvas.Pen.Style = psSolid;
    canvas.Pen.Color = frame;
    RoundRect(canvas, r, 4, 4);
    if (Control->Enabled()) {
        canvas.Pen.Color = DarkenColor(frame, 50);
        const bool pressed = FSpaceDown || (FMouseDown && hot);
        const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
        if (pressed) {
            const TPoint edge[] = {{L, B - 2}, {L, T + 1}, {L + 1, T}, {R - 1, T}};
            canvas.Polyline(edge, 4);
        } else {
            const TPoint edge[] = {{R - 1, T + 1}, {R - 1, B - 2}, {R - 2, B - 1}, {L, B - 1}};
            canvas.Polyline(edge, 4);
        }
    }
    canvas.Font.Assign(Control->Font);
    TRect measured{0, 0, 0, 0};
    canvas.DrawText(Control->Caption(), measured, DT_CALCRECT | DT_SINGLELINE);
    TRect text{(r.Right - measured.Right) / 2, (r.Bottom - measured.Bottom) / 2, r.Right, r.Bottom};
    const auto* button = dynamic_cast<TButton*>(Control);
    XPLook->DrawItemText(canvas, Control->Caption(), "", text, false, Control->Enabled(), button && button->Default());

    // The keyboard focus, as the plain look shows it.
    if (FFocused) {
        TRect focus = r;
        InflateRect(focus, -TButton::FocusInset, -TButton::FocusInset);
        canvas.DrawFocusRect(focus);
    }
}
