#include "ControlSubClass.h"

#include "CheckBoxes.h"
#include "ControlHook.h"
#include "ExtCtrls.h"
#include "ListBoxes.h"
#include "RoundRects.h"
#include "StdCtrls.h"
#include "HotKey.h"
#include "ProgressBar.h"
#include "XPColors.h"
#include "XPKinds.h"
#include "XPLook.h"

namespace {
TColor ParentColor(TControl* control)
{
    return control->Parent() ? control->Parent()->Color() : clBtnFace;
}
bool SavesCtl3D(const TControl* c) { return XPKind::IsEdit(c) || XPKind::IsListKind(c) || XPKind::IsLookupCombo(c); }
bool SavesBorderStyle(const TControl* c) { return XPKind::IsEdit(c) || XPKind::IsListKind(c); }
}  // namespace

TControlSubClass::TControlSubClass(TXPLook* owner, TControl* control) : TComponent(owner), Control(control), XPLook(owner)
{
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        FCtl3D = win->Ctl3D();
        FBorderStyle = win->BorderStyle();
        FBorderWidth = win->BorderWidth();
    }
    Hook();
}

TControlSubClass::TControlSubClass(TXPLook* owner, TControlSubClass& from)
    : TComponent(owner), Control(from.Control), XPLook(owner), FCtl3D(from.FCtl3D), FBorderStyle(from.FBorderStyle),
      FBorderWidth(from.FBorderWidth)
{
    from.Unhook();
    Hook();
}

TControlSubClass::~TControlSubClass() = default;

void TControlSubClass::Hook()
{
    hook_ = std::make_unique<TControlHook>(Control, [this](THookMessage m, TCanvas* c) { Message(m, c); });
    // A rich edit's frame lies just outside it, on its parent.
    if (XPKind::IsRichEdit(Control))
        hook_->HookParentPaint();
    Control->Invalidate();
}

void TControlSubClass::Unhook()
{
    hook_.reset();
    if (Control) {
        Control->Invalidate();
        if (Control->Parent())
            Control->Parent()->Invalidate();
    }
}

void TControlSubClass::Restore()
{
    RestoreSettings();
    Unhook();
}

void TControlSubClass::RestoreSettings()
{
    auto* win = dynamic_cast<TWinControl*>(Control);
    if (!win)
        return;
    if (SavesCtl3D(win))
        win->SetCtl3D(FCtl3D);
    if (SavesBorderStyle(win))
        win->SetBorderStyle(FBorderStyle);
    if (XPKind::IsRichEdit(win))
        win->SetBorderWidth(FBorderWidth);
}

void TControlSubClass::FlattenBorder()
{
    auto* win = dynamic_cast<TWinControl*>(Control);
    if (win && win->Ctl3D())
        win->SetCtl3D(false);
}

void TControlSubClass::Message(int message, TCanvas* canvas)
{
    if (XPLook && !XPLook->Active()) {
        // The look went off: the control gets its own handling and settings back; the hook ends.
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
    case hmParentPaint:
        if (XPKind::IsRichEdit(Control))
            PaintRichEdit(*canvas);
        return;
    case hmMouseMove:
        // The hot half of an up-down follows the mouse.
        if (!enabled || !XPKind::IsUpDown(Control))
            return;
        break;
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
    case hmCheckChanged: FMouseInControl = false; break;
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
    if (XPKind::IsRichEdit(Control) && Control->Parent())
        Control->Parent()->Invalidate();
}

void TControlSubClass::PaintControlXP(TCanvas& canvas)
{
    auto* win = dynamic_cast<TWinControl*>(Control);
    FFocused = win && win->Focused();
    if (XPLook->ColorsChanged())
        XPLook->UpdateColors(canvas);
    TControl* c = Control;
    if (XPKind::IsCombo(c))
        PaintCombo(canvas);
    if (XPKind::IsLookupCombo(c))
        PaintLookupCombo(canvas);
    if (XPKind::IsRichEdit(c)) {
        // Its frame is drawn on the parent; here the border makes room for it.
        if (win->BorderStyle() == bsSingle)
            win->SetBorderStyle(bsNone);
        if (win->BorderWidth() < 2)
            win->SetBorderWidth(2);
    } else if (XPKind::IsEdit(c)) {
        PaintEdit(canvas);
    }
    if (dynamic_cast<TCheckBox*>(c))
        PaintCheckBox(canvas);
    if (dynamic_cast<TRadioButton*>(c))
        PaintRadioButton(canvas);
    if (XPKind::IsBitButton(c))
        PaintBitButton(canvas);
    else if (dynamic_cast<TButton*>(c))
        PaintButton(canvas);
    if (XPKind::IsUpDown(c))
        PaintUpDown(canvas);
    if (c->Visible() && !PaintFlatSpeedButton(canvas))
        PaintGlyphSpeedButton(canvas);
    if (dynamic_cast<TPanel*>(c))
        PaintPanel(canvas);
    if (dynamic_cast<TGroupBox*>(c))
        PaintGroupBox(canvas);
    if (XPKind::IsListKind(c))
        PaintListBorder(canvas);
    if (dynamic_cast<TProgressBar*>(c))
        PaintProgressBar(canvas);
    if (dynamic_cast<THotKey*>(c))
        PaintHotKey(canvas);
}

void TControlSubClass::PaintEdit(TCanvas& canvas)
{
    FlattenBorder();
    const bool lit = FMouseInControl || FFocused;
    TColor frame = lit ? LightenColor(XPLook->FFSelectBorderColor, 60) : DarkenColor(ParentColor(Control), 60);
    if (FBorderStyle == bsNone)
        frame = FMouseInControl && !FFocused ? LightenColor(AverageColor(Control->Color(), ParentColor(Control)), 40)
                                             : ColorToRGB(Control->Color());
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = frame;
    canvas.FrameRect(Control->ClientRect());
}

void TControlSubClass::PaintRoundFace(TCanvas& canvas, const TRect& r, TColor face, TColor frame, bool edge,
                                      bool pressed)
{
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = ParentColor(Control);
    canvas.FillRect(r);
    canvas.Brush.Color = face;
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = frame;
    RoundRect(canvas, r, 4, 4);
    if (!edge)
        return;
    // A darker edge: along the right and bottom, along the left and top while pressed.
    canvas.Pen.Color = DarkenColor(frame, 50);
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    if (pressed) {
        const TPoint line[] = {{L, B - 2}, {L, T + 1}, {L + 1, T}, {R - 1, T}};
        canvas.Polyline(line, 4);
    } else {
        const TPoint line[] = {{R - 1, T + 1}, {R - 1, B - 2}, {R - 2, B - 1}, {L, B - 1}};
        canvas.Polyline(line, 4);
    }
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
    PaintRoundFace(canvas, r, face, frame, Control->Enabled(), FSpaceDown || (FMouseDown && hot));
    canvas.Font.Assign(Control->Font);
    TRect measured{0, 0, 0, 0};
    canvas.DrawText(Control->Caption(), measured, DT_CALCRECT | DT_SINGLELINE);
    TRect text{(r.Right - measured.Right) / 2, (r.Bottom - measured.Bottom) / 2, r.Right, r.Bottom};
    if (Control->UseRightToLeftReading())
        text.Right = text.Left + measured.Right;
    const auto* button = dynamic_cast<TButton*>(Control);
    XPLook->DrawItemText(canvas, Control->Caption(), "", text, false, Control->Enabled(), button && button->Default(),
                         Control->UseRightToLeftReading());
    PaintButtonFocus(canvas, r);
}

void TControlSubClass::PaintButtonFocus(TCanvas& canvas, const TRect& r)
{
    // The keyboard focus, as the plain look shows it.
    if (FFocused) {
        TRect focus = r;
        InflateRect(focus, -TButton::FocusInset, -TButton::FocusInset);
        canvas.DrawFocusRect(focus);
    }
}
