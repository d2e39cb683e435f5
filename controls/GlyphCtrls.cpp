#include "GlyphCtrls.h"

#include "ActionGlyph.h"

#include "ActnList.h"
#include "CtrlUtils.h"
#include "ExtCtrls.h"
#include "Forms.h"

namespace {

TForm* ParentForm(const TControl* control)
{
    for (TWinControl* p = control->Parent(); p; p = p->Parent())
        if (auto* form = dynamic_cast<TForm*>(p))
            return form;
    return nullptr;
}

}  // namespace

TGlyphSpeedButton::TGlyphSpeedButton(TComponent* owner) : TGraphicControl(owner), image_(0, 0, pf24bit)
{
    SetBounds(0, 0, 25, 25);
    ShowHint = true;
    glyph_.OnChange = [this](TObject*) { Invalidate(); };
    ActAsButton();
}

TGlyphSpeedButton::~TGlyphSpeedButton() = default;

void TGlyphSpeedButton::SetGlyph(const TBitmap& value)
{
    glyph_.SetGlyph(value);
    Invalidate();
}

void TGlyphSpeedButton::SetNumGlyphs(int value)
{
    value = std::min(value, 5);
    if (value != glyph_.NumGlyphs()) {
        glyph_.SetNumGlyphs(value);
        Invalidate();
    }
}

void TGlyphSpeedButton::SetAlignment(TGlyphAlignment value)
{
    if (value != glyph_.Alignment) {
        glyph_.Alignment = value;
        Invalidate();
    }
}

void TGlyphSpeedButton::SetWordWrap(bool value)
{
    if (value != glyph_.WordWrap) {
        glyph_.WordWrap = value;
        Invalidate();
    }
}

#define GLYPH_SETTER(Name, field)                      \
    void TGlyphSpeedButton::Set##Name(decltype(field) value) \
    {                                                  \
        if (value != field) {                          \
            field = value;                             \
            Invalidate();                              \
        }                                              \
    }
GLYPH_SETTER(Flat, flat_)
GLYPH_SETTER(Layout, layout_)
GLYPH_SETTER(Style, style_)
GLYPH_SETTER(Transparent, transparent_)
GLYPH_SETTER(MarkDropDown, markDropDown_)
GLYPH_SETTER(GrayedInactive, grayedInactive_)
GLYPH_SETTER(Spacing, spacing_)
#undef GLYPH_SETTER

void TGlyphSpeedButton::SetMargin(int value)
{
    if (value < -1 || value == margin_)
        return;
    margin_ = value;
    Invalidate();
}

void TGlyphSpeedButton::SetAllowTimer(bool value)
{
    allowTimer_ = value;
    if (!value && timer_) {
        timer_->SetEnabled(false);
        timer_.reset();
    }
}

void TGlyphSpeedButton::SetDropDownMenu(TPopupMenu* value)
{
    if (dropDownMenu_ && dropDownMenu_ != value)
        dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = value;
    if (value)
        value->FreeNotification(this);
    if (markDropDown_)
        Invalidate();
}

void TGlyphSpeedButton::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == dropDownMenu_)
        dropDownMenu_ = nullptr;
}

void TGlyphSpeedButton::SetGroupIndex(int value)
{
    if (value != groupIndex_) {
        groupIndex_ = value;
        NotifyGroup();
    }
}

void TGlyphSpeedButton::SetAllowAllUp(bool value)
{
    if (value != allowAllUp_) {
        allowAllUp_ = value;
        NotifyGroup();
    }
}

void TGlyphSpeedButton::SetDown(bool value)
{
    if (groupIndex_ == 0)
        value = false;
    if (value == down_)
        return;
    if (down_ && !allowAllUp_)
        return;
    down_ = value;
    if (value) {
        if (state_ == gbsUp)
            Invalidate();
        state_ = gbsExclusive;
    } else {
        state_ = gbsUp;
    }
    Repaint();
    if (value)
        NotifyGroup();
    Invalidate();
}

void TGlyphSpeedButton::NotifyGroup()
{
    if (groupIndex_ == 0 || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* other = dynamic_cast<TGlyphSpeedButton*>(Parent()->Controls(i)); other && other != this)
            if (other->groupIndex_ == groupIndex_)
                other->GroupButtonDown(*this);
}

void TGlyphSpeedButton::GroupButtonDown(TGlyphSpeedButton& sender)
{
    if (sender.down_ && down_) {
        down_ = false;
        state_ = gbsUp;
        Repaint();
    }
    allowAllUp_ = sender.allowAllUp_;
}

TRect TGlyphSpeedButton::PaintFrame(TCanvas& canvas, TRect r, bool isDown)
{
    // The platform always has the new-style controls, so only bsWin31 draws the old look.
    const bool newLook = style_ != bsWin31;
    if (isDown) {
        if (newLook) {
            Frame3D(canvas, r, clWindowFrame, clBtnHighlight);
            if (!flat_)
                Frame3D(canvas, r, clBtnShadow, clBtnFace);
        } else if (!flat_) {
            Frame3D(canvas, r, clWindowFrame, clWindowFrame);
            canvas.Pen.Color = clBtnShadow;
            canvas.MoveTo(r.Left, r.Bottom - 1);
            canvas.LineTo(r.Left, r.Top);
            canvas.LineTo(r.Right, r.Top);
        } else {
            Frame3D(canvas, r, clWindowFrame, clBtnHighlight);
        }
    } else if (newLook) {
        if (!flat_)
            Frame3D(canvas, r, clBtnHighlight, clWindowFrame);
        Frame3D(canvas, r, flat_ ? clBtnHighlight : clBtnFace, clBtnShadow);
    } else if (!flat_) {
        Frame3D(canvas, r, clWindowFrame, clWindowFrame);
        Frame3D(canvas, r, clBtnHighlight, clBtnShadow);
    } else {
        Frame3D(canvas, r, clBtnHighlight, clWindowFrame);
    }
    return r;
}

void TGlyphSpeedButton::Paint()
{
    if (!Enabled()) {
        state_ = gbsDisabled;
        pressed_ = false;
    } else if (state_ == gbsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? gbsExclusive : gbsUp;
    }
    TGlyphButtonState shown = state_;
    if (flat_ && !hovered_)
        shown = gbsInactive;

    image_.SetSize(Width(), Height());
    TCanvas& canvas = image_.Canvas();
    canvas.Font.Assign(Font);
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clBtnFace;
    TRect r {0, 0, Width(), Height()};
    canvas.FillRect(r);
    if (transparent_)
        PaintParentBackground(this, canvas);
    if (shown == gbsInactive && state_ != gbsExclusive)
        r = {r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
    else
        r = PaintFrame(canvas, r, state_ == gbsDown || state_ == gbsExclusive);
    if (state_ == gbsExclusive && !transparent_ && (!flat_ || shown == gbsInactive)) {
        // The class library's 8 x 8 two-colour pattern of face and highlight.
        const TColor face = ColorToRGB(clBtnFace), light = ColorToRGB(clBtnHighlight);
        for (int y = std::max(0, r.Top - 1); y < std::min(Height(), r.Bottom + 1); ++y)
            for (int x = std::max(0, r.Left - 1); x < std::min(Width(), r.Right + 1); ++x)
                canvas.SetPixel(x, y, (x + y) % 2 ? face : light);
    }
    if (state_ == gbsDown || state_ == gbsExclusive)
        r = {r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    if (state_ == gbsDisabled || !grayedInactive_)
        shown = state_;
    PaintFace(canvas, r, shown, markDropDown_ && dropDownMenu_);
    canvas.Release();
    Canvas().Draw(0, 0, image_);
}

TRect TGlyphSpeedButton::PaintFace(TCanvas& canvas, const TRect& rect, TGlyphButtonState state, bool drawMark)
{
    static const unsigned alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    return glyph_.PaintFace(canvas, rect, Caption(), layout_, margin_, spacing_, drawMark, state,
                            DrawTextBiDiModeFlags(alignments[glyph_.Alignment]));
}

bool TGlyphSpeedButton::Inside(int x, int y) const
{
    // The row just below the button counts, as it always has.
    return x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
}

void TGlyphSpeedButton::Click()
{
    if (TForm* form = ParentForm(this))
        form->SetModalResult(ModalResult);
    TGraphicControl::Click();
}

void TGlyphSpeedButton::DblClick()
{
    if (menuShowing_)
        return;
    if (down_)
        TGraphicControl::DblClick();
}

TPoint TGlyphSpeedButton::MenuOrigin() const
{
    if (!dropDownMenu_)
        return {0, 0};
    const TPopupAlignment alignment = dropDownMenu_->Alignment;
    if (MenuPosition == dmpBottom) {
        switch (alignment) {
        case paLeft: return {-1, Height()};
        case paRight: return {Width() + 1, Height()};
        default: return {Width() / 2, Height()};
        }
    }
    switch (alignment) {
    case paLeft: return {Width(), -1};
    case paRight: return {-1, -1};
    default: return {Width() / 2, Height()};
    }
}

void TGlyphSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (menuShowing_)
        return;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!hovered_ && Enabled()) {
        hovered_ = true;
        Repaint();
    }
    if (button == mbRight)
        TrackMouse();
    if (button != mbLeft || !Enabled())
        return;
    if (!down_) {
        state_ = gbsDown;
        Repaint();
    }
    pressed_ = true;
    menuShowing_ = true;
    if (dropDownMenu_ && dropDownMenu_->AutoPopup) {
        const TPoint origin = ClientToScreen(MenuOrigin());
        dropDownMenu_->PopupComponent = this;
        dropDownMenu_->Popup(origin.X, origin.Y);
        // The menu has taken the press: release the button at once.
        ReleaseSteps(x, y);
        // The click that closed the menu must not press the button again.
        DropQueuedMessage(this, WM_LBUTTONDOWN);
        DropQueuedMessage(this, WM_LBUTTONDBLCLK);
    }
    menuShowing_ = false;
    if (allowTimer_) {
        if (!timer_) {
            timer_ = std::make_unique<TTimer>(nullptr);
            timer_->OnTimer = [this](TObject* s) { RepeatTick(s); };
        }
        timer_->SetInterval(static_cast<int>(InitPause));
        timer_->SetEnabled(true);
    }
}

void TGlyphSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!pressed_)
        return;
    const TGlyphButtonState next = down_ ? gbsExclusive : Inside(x, y) ? gbsDown : gbsUp;
    if (next != state_) {
        state_ = next;
        Repaint();
    }
}

void TGlyphSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button == mbLeft)
        ReleaseSteps(x, y);
    if (timer_)
        timer_->SetEnabled(false);
    TrackMouse();
}

void TGlyphSpeedButton::TrackMouse()
{
    // A release clears the hot look although the pointer may still be over the button.
    const bool over = Enabled() && MouseOverNow() && AppIsForeground();
    if (over == hovered_)
        return;
    hovered_ = over;
    if (over) {
        if (flat_)
            Repaint();
        Fire(OnMouseEnter, this);
    } else {
        if (flat_)
            Invalidate();
        Fire(OnMouseLeave, this);
    }
}

void TGlyphSpeedButton::SetVisible(bool value)
{
    TGraphicControl::SetVisible(value);
    if (value)
        TrackMouse();
}

void TGlyphSpeedButton::ActionChange(TBasicAction& action)
{
    TGraphicControl::ActionChange(action);
    if (auto* custom = dynamic_cast<TCustomAction*>(&action); custom && groupIndex_ != 0)
        SetDown(custom->Checked());
    if (Glyph().Empty())
        if (std::unique_ptr<TBitmap> image = ActionGlyph(action))
            SetGlyph(*image);
}

void TGlyphSpeedButton::ReleaseSteps(int x, int y)
{
    if (!pressed_)
        return;
    pressed_ = false;
    const bool clicked = Inside(x, y);
    if (groupIndex_ == 0) {
        state_ = gbsUp;
        hovered_ = false;
        if (clicked)
            Repaint();
        else
            Invalidate();
    } else if (clicked) {
        SetDown(!down_);
        if (down_)
            Repaint();
    } else {
        if (down_)
            state_ = gbsExclusive;
        Repaint();
    }
    if (clicked && !menuShowing_)
        Click();
}

void TGlyphSpeedButton::RepeatTick(TObject*)
{
    if (!timer_)
        return;
    timer_->SetInterval(static_cast<int>(RepeatInterval));
    if (state_ == gbsDown && pressed_) {
        try {
            Click();
        } catch (...) {
            timer_->SetEnabled(false);
            throw;
        }
    }
}

void TGlyphSpeedButton::MouseEnter()
{
    TGraphicControl::MouseEnter();
    if (hovered_ || !Enabled() || !AppIsForeground())
        return;
    hovered_ = true;
    if (flat_)
        Repaint();
    Fire(OnMouseEnter, this);
}

void TGlyphSpeedButton::MouseLeave()
{
    TGraphicControl::MouseLeave();
    if (!hovered_ || !Enabled() || pressed_)
        return;
    hovered_ = false;
    if (flat_)
        Invalidate();
    Fire(OnMouseLeave, this);
}

void TGlyphSpeedButton::EnabledChanged()
{
    TGraphicControl::EnabledChanged();
    glyph_.StateImageIndex(Enabled() ? (flat_ ? gbsInactive : gbsUp) : gbsDisabled);
    TrackMouse();
    Repaint();
}
