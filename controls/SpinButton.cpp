#include "SpeedBtns.h"

#include "DrawLib.h"

// ---- the spin button ---------------------------------------------------------------------------

std::unique_ptr<TBitmap> DefaultSpinGlyph(bool up)
{
    auto bitmap = std::make_unique<TBitmap>(9, 4, pf24bit);
    for (int y = 0; y < 4; ++y) {
        const int halfWidth = up ? y : 3 - y;  // rows of 1, 3, 5, 7 pixels around column 5
        uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < 9; ++x) {
            const uint8_t v = (x >= 5 - halfWidth && x <= 5 + halfWidth) ? 0 : 255;
            row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = v;
        }
    }
    return bitmap;
}

TSpinButton::TSpinButton(TComponent* owner) : TCustomControl(owner)
{
    upButton_ = CreateButton();
    downButton_ = CreateButton();
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    focusedButton_ = upButton_;
    SetBounds(0, 0, 20, 25);
}

TSpinButton::~TSpinButton() = default;

TTimerSpeedButton* TSpinButton::CreateButton()
{
    auto* b = new TTimerSpeedButton(this);
    b->SetParent(this);
    b->SetVisible(true);
    b->SetEnabled(true);
    b->TimeBtnState = tbAllowTimer;
    b->SetStyle(sbsComboButton);
    b->SetLayout(blGlyphTop);
    b->OnMouseDown = [this](TObject* s, TMouseButton button, TShiftState, int, int) { BtnMouseDown(s, button); };
    b->OnClick = [this](TObject* s) { BtnClick(s); };
    return b;
}

void TSpinButton::AdjustSize(int& w, int& h)
{
    if (w < 15)
        w = 15;
    upButton_->SetBounds(0, 0, w, h / 2);
    downButton_->SetBounds(0, upButton_->Height(), w, h / 2 + h % 2);
}

void TSpinButton::SetBounds(int left, int top, int width, int height)
{
    AdjustSize(width, height);
    TCustomControl::SetBounds(left, top, width, height);
}

void TSpinButton::Resize()
{
    int w = Width();
    int h = Height();
    AdjustSize(w, h);
    if (w != Width())
        TCustomControl::SetBounds(Left(), Top(), w, h);
    TCustomControl::Resize();
}

bool TSpinButton::CanFocusSelf() const { return TabStop() && Enabled() && Visible(); }

void TSpinButton::BtnMouseDown(TObject* sender, TMouseButton button)
{
    if (button != mbLeft)
        return;
    SetFocusBtn(static_cast<TTimerSpeedButton*>(sender));
    if (focusControl_ && focusControl_->TabStop() && focusControl_->Enabled() && focusControl_->Visible() &&
        !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (CanFocusSelf() && !Focused())
        SetFocus();
}

void TSpinButton::BtnClick(TObject* sender)
{
    if (sender == downButton_)
        Fire(OnDownClick, this);
    else
        Fire(OnUpClick, this);
}

void TSpinButton::SetFocusBtn(TTimerSpeedButton* button)
{
    if (!CanFocusSelf() || !button || button == focusedButton_)
        return;
    focusedButton_->TimeBtnState &= ~tbFocusRect;
    focusedButton_ = button;
    if (Focused())
        focusedButton_->TimeBtnState |= tbFocusRect;
    upButton_->Invalidate();
    downButton_->Invalidate();
}

void TSpinButton::SetFocusControl(TWinControl* control)
{
    if (focusControl_ && focusControl_ != control)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = control;
    if (control)
        control->FreeNotification(this);
}

void TSpinButton::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    // A press after the control went must not reach for freed memory.
    if (operation == opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

void TSpinButton::DoEnter()
{
    focusedButton_->TimeBtnState |= tbFocusRect;
    focusedButton_->Invalidate();
    TCustomControl::DoEnter();
}

void TSpinButton::DoExit()
{
    focusedButton_->TimeBtnState &= ~tbFocusRect;
    focusedButton_->Invalidate();
    TCustomControl::DoExit();
}

void TSpinButton::KeyDown(int& key, TShiftState shift)
{
    switch (key) {
    case VK_UP:
        SetFocusBtn(upButton_);
        upButton_->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(downButton_);
        downButton_->Click();
        break;
    case VK_SPACE: focusedButton_->Click(); break;
    default: break;
    }
    TCustomControl::KeyDown(key, shift);
}

bool TSpinButton::UpEnabled() const { return upButton_->Enabled(); }
bool TSpinButton::DownEnabled() const { return downButton_->Enabled(); }

void TSpinButton::SetUpEnabled(bool value)
{
    upEnabled_ = value;
    upButton_->SetEnabled(value && Enabled());
}

void TSpinButton::SetDownEnabled(bool value)
{
    downEnabled_ = value;
    downButton_->SetEnabled(value && Enabled());
}

void TSpinButton::SetEnabled(bool value)
{
    TCustomControl::SetEnabled(value);
    upButton_->SetEnabled(value && upEnabled_);
    downButton_->SetEnabled(value && downEnabled_);
}

void TSpinButton::SetUpGlyph(const TBitmap* value)
{
    if (value) {
        upButton_->SetGlyph(value);
        upDefault_ = false;
    } else {
        auto glyph = DefaultSpinGlyph(true);
        ReplaceColors(*glyph, clBtnFace, clBtnText);
        upButton_->SetGlyph(glyph.get());
        upDefault_ = true;
    }
}

void TSpinButton::SetDownGlyph(const TBitmap* value)
{
    if (value) {
        downButton_->SetGlyph(value);
        downDefault_ = false;
    } else {
        auto glyph = DefaultSpinGlyph(false);
        ReplaceColors(*glyph, clBtnFace, clBtnText);
        downButton_->SetGlyph(glyph.get());
        downDefault_ = true;
    }
}
