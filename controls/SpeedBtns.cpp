#include "SpeedBtns.h"

#include "DrawLib.h"
#include "ExtCtrls.h"

namespace {
// A rectangular edge one pixel wide: sunken-outer or raised-inner.
void DrawEdge(TCanvas& canvas, const TRect& r, bool sunken, bool fill, TColor fillColor)
{
    TRect inner = r;
    if (sunken)
        Frame3D(canvas, inner, clBtnShadow, clBtnHighlight);
    else
        Frame3D(canvas, inner, clBtnHighlight, clBtnShadow);
    if (fill) {
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = fillColor;
        canvas.FillRect(inner);
    }
}

// The platform's push-button frame; the rectangle becomes the face inside it.
void DrawButtonFace(TCanvas& canvas, TRect& r, bool pushed)
{
    if (pushed) {
        Frame3D(canvas, r, cl3DDkShadow, clBtnHighlight);
        Frame3D(canvas, r, clBtnShadow, cl3DLight);
    } else {
        Frame3D(canvas, r, clBtnHighlight, cl3DDkShadow);
        Frame3D(canvas, r, cl3DLight, clBtnShadow);
    }
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(r);
}

void FillChecked(TCanvas& canvas, const TRect& r)
{
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            canvas.SetPixel(x, y, ColorToRGB(((x + y) & 1) ? clBtnHighlight : clBtnFace));
}

}  // namespace

// ---- the speed button -------------------------------------------------------------------------

TCustomFlatSpeedButton::TCustomFlatSpeedButton(TComponent* owner)
    : TGraphicControl(owner), glyph_(std::make_unique<TButtonGlyph>())
{
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(0, 0, 23, 22);
    SetColor(clBtnFace);
    SetOpaque(!transparent_);
    ActAsButton();
}

TCustomFlatSpeedButton::~TCustomFlatSpeedButton() = default;

void TCustomFlatSpeedButton::SetGlyph(const TBitmap* value)
{
    glyph_->SetGlyph(value);
    Invalidate();
}

void TCustomFlatSpeedButton::SetNumGlyphs(int value)
{
    glyph_->SetNumGlyphs(value < 0 ? 1 : value);
    Invalidate();
}

void TCustomFlatSpeedButton::SetLayout(TButtonLayout value)
{
    layout_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetMargin(int value)
{
    if (value < -1)
        return;
    margin_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetMenuButtonWidth(int value)
{
    menuButtonWidth_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetSpacing(int value)
{
    spacing_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetFlat(bool value)
{
    flat_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetTransparent(bool value)
{
    transparent_ = value;
    SetOpaque(!value);
}

void TCustomFlatSpeedButton::SetStyle(TFlatSpeedButtonStyle value)
{
    if (value == sbsMenu || value == sbsComboButton) {
        groupIndex_ = 0;
        down_ = false;
        allowAllUp_ = false;
        if (state_ == bsExclusive)
            state_ = bsUp;
    }
    if (value == sbsComboButton) {
        flat_ = false;
        SetTransparent(false);
    }
    style_ = value;
    Invalidate();
}

void TCustomFlatSpeedButton::SetDown(bool value)
{
    if (groupIndex_ == 0)
        value = false;
    if (value == down_)
        return;
    if (down_ && !allowAllUp_)
        return;
    down_ = value;
    if (value) {
        if (state_ == bsUp)
            Invalidate();
        state_ = bsExclusive;
    } else {
        state_ = bsUp;
        Invalidate();
    }
    if (value)
        UpdateExclusive();
}

void TCustomFlatSpeedButton::SetGroupIndex(int value)
{
    if (groupIndex_ == value)
        return;
    groupIndex_ = value;
    UpdateExclusive();
}

void TCustomFlatSpeedButton::SetAllowAllUp(bool value)
{
    if (allowAllUp_ == value)
        return;
    allowAllUp_ = value;
    UpdateExclusive();
}

void TCustomFlatSpeedButton::UpdateExclusive()
{
    if (groupIndex_ == 0 || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* other = dynamic_cast<TCustomFlatSpeedButton*>(Parent()->Controls(i)); other && other != this)
            other->ButtonPressed(groupIndex_, this);
}

void TCustomFlatSpeedButton::ButtonPressed(int groupIndex, TCustomFlatSpeedButton* sender)
{
    if (groupIndex != groupIndex_ || sender == this)
        return;
    if (sender->Down() && down_) {
        down_ = false;
        state_ = bsUp;
        Invalidate();
    }
    allowAllUp_ = sender->AllowAllUp();
}

void TCustomFlatSpeedButton::SettleState()
{
    if (!Enabled()) {
        state_ = bsDisabled;
        dragging_ = false;
    } else if (state_ == bsDisabled) {
        state_ = (down_ && groupIndex_ != 0) ? bsExclusive : bsUp;
    }
}

void TCustomFlatSpeedButton::Paint() { PaintOn(Canvas()); }

void TCustomFlatSpeedButton::PaintOn(TCanvas& canvas)
{
    SettleState();
    canvas.Font.Assign(Font);
    switch (style_) {
    case sbsNormal:
    case sbsComboButton: PaintNormal(canvas); break;
    case sbsMenu: PaintMenu(canvas); break;
    default: throw Exception("Unknown button style.");
    }
}

void TCustomFlatSpeedButton::PaintNormal(TCanvas& canvas)
{
    TRect r = ClientRect();
    const bool pressed = state_ == bsDown || state_ == bsExclusive;
    if (flat_) {
        if (pressed || (mouseInControl_ && state_ != bsDisabled)) {
            DrawEdge(canvas, r, pressed, false, Color());
        }
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    } else if (style_ == sbsComboButton) {
        if (!pressed) {
            Frame3D(canvas, r, clBtnFace, cl3DDkShadow);
            Frame3D(canvas, r, clBtnHighlight, clBtnShadow);
        } else {
            Frame3D(canvas, r, clBtnShadow, clBtnShadow);
        }
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = clBtnFace;
        canvas.FillRect(r);
    } else {
        DrawButtonFace(canvas, r, pressed);
    }
    TPoint offset{0, 0};
    if (!pressed) {
        if (style_ == sbsComboButton)
            offset = {-1, -1};
    } else {
        if (state_ == bsExclusive && !(flat_ && mouseInControl_))
            FillChecked(canvas, r);
        offset = style_ == sbsNormal ? TPoint{1, 1} : TPoint{0, 0};
    }
    glyph_->Draw(canvas, r, offset, Caption(), layout_, margin_, spacing_, state_, UseRightToLeftReading());
}

TRect TCustomFlatSpeedButton::ArrowRect() const
{
    return {Width() - menuButtonWidth_, 0, Width(), Height()};
}

void TCustomFlatSpeedButton::PaintMenu(TCanvas& canvas)
{
    TRect main{0, 0, Width() - menuButtonWidth_, Height()};
    TRect arrow = ArrowRect();
    const bool mainDown = state_ == bsDown;
    const bool arrowDown = state_ == bsDown || state_ == bsArrowDown;
    if (flat_) {
        if (state_ != bsDown && state_ != bsArrowDown && (!mouseInControl_ || state_ == bsDisabled)) {
            if (!transparent_) {
                canvas.Brush.Style = bsSolid;
                canvas.Brush.Color = Color();
                canvas.FillRect(main);
                canvas.FillRect(arrow);
            }
        } else {
            DrawEdge(canvas, main, mainDown, !transparent_, Color());
            DrawEdge(canvas, arrow, arrowDown, !transparent_, Color());
            main = {main.Left + 1, main.Top + 1, main.Right - 1, main.Bottom - 1};
        }
    } else {
        DrawButtonFace(canvas, main, mainDown);
        TRect a = arrow;
        DrawButtonFace(canvas, a, arrowDown);
    }
    // Glyph and caption go through a work bitmap the size of the main part, keyed on a colour
    // next to the font's so that only what they draw reaches the button. Smoothed edges would
    // blend into that key and come through as a dark fringe, so the caption is drawn unsmoothed.
    if (main.Width() > 0 && main.Height() > 0) {
        const TColor key = (ColorToRGB(Font.Color()) + 0x010101) & 0xFFFFFF;
        TBitmap work(main.Width(), main.Height(), pf24bit);
        TCanvas& wc = work.Canvas();
        wc.Brush.Style = bsSolid;
        wc.Brush.Color = key;
        wc.FillRect({0, 0, work.Width(), work.Height()});
        wc.Font.Assign(Font);
        wc.Font.SetQuality(fqNonAntialiased);
        glyph_->Draw(wc, {0, 0, work.Width(), work.Height()}, mainDown ? TPoint{1, 1} : TPoint{0, 0}, Caption(),
                     layout_, margin_, spacing_, state_, UseRightToLeftReading());
        wc.Release();
        canvas.DrawKeyed(1, 1, work, key);
    }

    // The drop-down arrow: a small downward triangle centred in the arrow part.
    TRect ar{arrow.Left + 1, arrow.Top + 1, arrow.Right - 1, arrow.Bottom - 1};
    if (!arrowDown && !flat_)
        ar.Left -= 1;
    if (arrowDown) {
        ar.Bottom += 1;
        if (flat_) {
            ar.Left += 1;
            ar.Right += 1;
        }
    }
    const int cx = (ar.Left + ar.Right) / 2;
    const int cy = (ar.Top + ar.Bottom) / 2;
    auto triangle = [&](int dx, int dy, TColor color) {
        canvas.Pen.Color = color;
        for (int i = 0; i < 3; ++i) {
            canvas.MoveTo(cx - 2 + i + dx, cy - 1 + i + dy);
            canvas.LineTo(cx + 3 - i + dx, cy - 1 + i + dy);
        }
    };
    if (state_ == bsDisabled) {
        triangle(1, 1, clBtnHighlight);
        triangle(0, 0, clBtnShadow);
    } else {
        triangle(0, 0, clBtnText);
    }
    canvas.Font.Assign(Font);
}

void TCustomFlatSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    if (style_ == sbsMenu) {
        if (x >= Width() - menuButtonWidth_) {
            state_ = bsArrowDown;
            arrowPressed_ = true;
        } else {
            state_ = bsDown;
        }
    } else if (!down_) {
        state_ = bsDown;
    }
    Invalidate();
    dragging_ = true;
}

void TCustomFlatSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_) {
        if (!mouseInControl_)
            UpdateTracking();
        return;
    }
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    TButtonState next;
    if (style_ != sbsMenu) {
        next = down_ ? bsExclusive : bsUp;
        if (inside)
            next = down_ ? bsExclusive : bsDown;
    } else {
        const bool onArrow = x >= Width() - menuButtonWidth_;
        if (!inside)
            next = bsUp;
        else if (arrowPressed_)
            next = onArrow ? bsArrowDown : (state_ == bsArrowDown ? bsUp : state_);
        else
            next = bsDown;
        if ((state_ == bsDown && next == bsArrowDown) || (state_ == bsArrowDown && next == bsDown))
            next = state_;
    }
    if (next != state_) {
        state_ = next;
        Invalidate();
    }
}

void TCustomFlatSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!dragging_ || button != mbLeft)
        return;
    dragging_ = false;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    if (style_ == sbsMenu) {
        const bool onArrow = inside && x >= Width() - menuButtonWidth_;
        const bool click = inside && !arrowPressed_;
        const bool popup = onArrow && arrowPressed_ && DropDownMenu;
        state_ = bsUp;
        arrowPressed_ = false;
        mouseInControl_ = false;
        if (inside || popup)
            Invalidate();
        if (popup) {
            TPoint p = Parent() ? Parent()->ClientToScreen({Left(), Top() + Height()}) : TPoint{Left(), Top() + Height()};
            DropDownMenu->Popup(p.X, p.Y);
        }
        if (click)
            Click();
        UpdateTracking();
        return;
    }
    if (groupIndex_ == 0) {
        state_ = bsUp;
        mouseInControl_ = false;
        if (inside)
            Invalidate();
    } else if (inside) {
        SetDown(!down_);
        if (down_)
            Invalidate();
    } else {
        if (down_)
            state_ = bsExclusive;
        Invalidate();
    }
    if (inside)
        Click();
    UpdateTracking();
}

void TCustomFlatSpeedButton::UpdateTracking()
{
    // The release cleared the hot look; the pointer may well still be over the button.
    if (!flat_ || !Enabled())
        return;
    const bool over = MouseOverNow();
    if (over && !mouseInControl_)
        MouseEnter();
    else if (!over && mouseInControl_)
        MouseLeave();
}

void TCustomFlatSpeedButton::MouseEnter()
{
    TGraphicControl::MouseEnter();
    if (flat_ && !mouseInControl_ && Enabled()) {
        mouseInControl_ = true;
        Invalidate();
    }
}

void TCustomFlatSpeedButton::MouseLeave()
{
    TGraphicControl::MouseLeave();
    if (flat_ && mouseInControl_ && Enabled() && !dragging_) {
        mouseInControl_ = false;
        Invalidate();
    }
}

void TCustomFlatSpeedButton::DblClick()
{
    if (down_)
        TGraphicControl::DblClick();
}

void TCustomFlatSpeedButton::EnabledChanged()
{
    glyph_->Invalidate();
    if (!Enabled())
        mouseInControl_ = false;
    SettleState();
    // Enabled again under a pointer that never moved: the hot look comes back at once.
    UpdateTracking();
    Invalidate();
}

// ---- the repeating button ----------------------------------------------------------------------

namespace {
std::unique_ptr<TTimer> repeatTimer;
TTimerSpeedButton* repeatingButton = nullptr;
}  // namespace

TTimer& SpeedButtonRepeatTimer()
{
    if (!repeatTimer) {
        repeatTimer = std::make_unique<TTimer>(nullptr);
        repeatTimer->SetEnabled(false);
        repeatTimer->OnTimer = [](TObject*) {
            if (repeatingButton)
                repeatingButton->TimerExpired();
        };
    }
    return *repeatTimer;
}

TTimerSpeedButton* RepeatingButton() { return repeatingButton; }

TTimerSpeedButton::~TTimerSpeedButton()
{
    if (repeatingButton == this) {
        repeatTimer->SetEnabled(false);
        repeatingButton = nullptr;
    }
}

void TTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TFlatSpeedButton::MouseDown(button, shift, x, y);
    if (TimeBtnState & tbAllowTimer) {
        TTimer& timer = SpeedButtonRepeatTimer();
        repeatingButton = this;
        timer.SetInterval(400);
        timer.SetEnabled(true);
    }
}

void TTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (repeatingButton == this) {
        repeatTimer->SetEnabled(false);
        repeatingButton = nullptr;
    }
    TFlatSpeedButton::MouseUp(button, shift, x, y);
}

void TTimerSpeedButton::TimerExpired()
{
    TTimer& timer = SpeedButtonRepeatTimer();
    timer.SetInterval(100);
    if (State() == bsDown && Dragging()) {
        try {
            Click();
        } catch (...) {
            timer.SetEnabled(false);
            throw;
        }
    }
}

void TTimerSpeedButton::PaintOn(TCanvas& canvas)
{
    TFlatSpeedButton::PaintOn(canvas);
    if (TimeBtnState & tbFocusRect) {
        TRect r{3, 3, Width() - 3, Height() - 3};
        if (State() == bsDown)
            OffsetRect(r, 1, 1);
        canvas.DrawFocusRect(r);
    }
}

