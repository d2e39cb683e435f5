#include "SpinEdits.h"

#include "Beep.h"
#include "FloatText.h"

TCustomSpinEdit::TCustomSpinEdit(TComponent* owner) : TEdit(owner)
{
    button_ = new TSpinButton(this);
    button_->SetParent(this);
    button_->SetVisible(true);
    button_->SetFocusControl(this);
    button_->OnUpClick = [this](TObject* s) { UpClick(s); };
    button_->OnDownClick = [this](TObject* s) { DownClick(s); };
    SetText("");
    PlaceButton();
}

void TCustomSpinEdit::PlaceButton()
{
    // The button sits inside the edit's frame, flush with the client area, and the text stops
    // one pixel short of it.
    const TRect inner = InnerRect();
    button_->SetBounds(inner.Right - button_->Width(), inner.Top, button_->Width(), inner.Height());
    SetRightTextMargin(button_->Width() + 1);
}

void TCustomSpinEdit::SetBounds(int left, int top, int width, int height)
{
    TEdit::SetBounds(left, top, width, height);
    PlaceButton();
}

void TCustomSpinEdit::Resize()
{
    PlaceButton();
    TEdit::Resize();
}

void TCustomSpinEdit::SetUseRanges(bool value)
{
    useRanges_ = value;
    CheckValueAlways();
}

void TCustomSpinEdit::SetEnabled(bool value)
{
    TEdit::SetEnabled(value);
    button_->SetEnabled(value);
}

void TCustomSpinEdit::UpClick(TObject*)
{
    if (ReadOnly())
        MessageBeep(0);
    else if (button_->UpEnabled())
        UpClickValue();
}

void TCustomSpinEdit::DownClick(TObject*)
{
    if (ReadOnly())
        MessageBeep(0);
    else if (button_->DownEnabled())
        DownClickValue();
}

void TCustomSpinEdit::KeyDown(int& key, TShiftState shift)
{
    if (key == VK_UP) {
        UpClick(this);
        key = 0;
    } else if (key == VK_DOWN) {
        DownClick(this);
        key = 0;
    }
    TEdit::KeyDown(key, shift);
}

bool TCustomSpinEdit::CanEditText(const String& before, String& after)
{
    // Pasted, dropped and input-method text and characters beyond 8 bits meet the same filter
    // as typed keys; with typing off the user cannot change the text at all.
    bool allowed = EditorEnabled && !ReadOnly();
    if (allowed) {
        size_t head = 0;
        while (head < before.size() && head < after.size() && before[head] == after[head])
            ++head;
        size_t tail = 0;
        while (tail < before.size() - head && tail < after.size() - head &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        // What was put in loses the blanks and line breaks around it first (a number copied
        // from a document often carries them).
        const String inserted = after.substr(head, after.size() - tail - head);
        const String kept = Trim(inserted);
        if (kept != inserted)
            after = after.substr(0, head) + kept + after.substr(after.size() - tail);
        for (size_t i = head; allowed && i < after.size() - tail; ++i) {
            const auto c = static_cast<unsigned char>(after[i]);
            allowed = c < 0x80 && IsValidChar(static_cast<char>(c));
        }
    }
    if (!allowed)
        MessageBeep(0);
    return allowed;
}

void TCustomSpinEdit::KeyPress(char& key)
{
    if (!IsValidChar(key)) {
        key = 0;
        MessageBeep(0);
    }
    if (key != 0)
        TEdit::KeyPress(key);
}

void TCustomSpinEdit::DoEnter()
{
    if (AutoSelect)
        SelectAll();
    TEdit::DoEnter();
}

void TCustomSpinEdit::DoExit()
{
    TEdit::DoExit();
    CheckValueOnExit();
}

TFloatSpinEdit::TFloatSpinEdit(TComponent* owner) : TCustomSpinEdit(owner)
{
    SetText("0");
    Increment = 1.0;
}

double TFloatSpinEdit::CheckValue(double value)
{
    double result = value;
    if (useRanges_) {
        if (value < minValue_)
            result = minValue_;
        else if (value > maxValue_)
            result = maxValue_;
        Button()->SetUpEnabled(value < maxValue_);
        Button()->SetDownEnabled(value > minValue_);
    } else {
        Button()->SetUpEnabled(true);
        Button()->SetDownEnabled(true);
    }
    return result;
}

void TFloatSpinEdit::SetMaxValue(double value)
{
    if (value >= minValue_) {
        maxValue_ = value;
        CheckValue(Value());
    }
}

void TFloatSpinEdit::SetMinValue(double value)
{
    if (value <= maxValue_) {
        minValue_ = value;
        CheckValue(Value());
    }
}

double TFloatSpinEdit::Value() const
{
    try {
        return StrToFloat(Text());
    } catch (const EConvertError&) {
        return minValue_;
    }
}

void TFloatSpinEdit::SetValue(double value) { SetText(FormatFloat("#######0.00", CheckValue(value))); }

bool TFloatSpinEdit::IsValidChar(char key)
{
    const bool control = static_cast<unsigned char>(key) < 32 && key != '\r';
    if (!EditorEnabled)
        return control && key != '\b';
    return (key >= '0' && key <= '9') || key == '+' || key == '-' || key == DecimalSeparator || control;
}

void TFloatSpinEdit::UpClickValue()
{
    SetValue(Value() + Increment);
    SelectAll();
}

void TFloatSpinEdit::DownClickValue()
{
    SetValue(Value() - Increment);
    SelectAll();
}

void TFloatSpinEdit::CheckValueOnExit()
{
    if (CheckValue(Value()) != Value())
        SetValue(Value());
}

void TFloatSpinEdit::CheckValueAlways() { SetValue(CheckValue(Value())); }
