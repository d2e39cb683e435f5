#pragma once
// An edit box that carries a glyph button inside its right edge; the button and the click key
// (Alt+Down by default) run the button action.
#include "GlyphCtrls.h"
#include "StdCtrls.h"

#include <cstdint>

class EComboEditError : public Exception { using Exception::Exception; };

using TShortCut = uint16_t;
// A key and its shift state as one short-cut value.
TShortCut ShortCut(int key, TShiftState shift);

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };

class TCustomComboEdit;

class TEditButton : public TGlyphSpeedButton {
public:
    explicit TEditButton(TComponent* owner);
    // Kept at its width when its form is scaled (the platform scales no form).
    bool FixedWidth = false;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
};

class TCustomComboEdit : public TEdit {
public:
    explicit TCustomComboEdit(TComponent* owner);
    ~TCustomComboEdit() override;

    TEditButton* Button;
    TCustomControl* ButtonHolder;
    TNotifyEvent OnButtonClick;
    TShortCut ClickKey = 0x8028;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool value);
    int ButtonWidth() const { return Button->Width(); }
    void SetButtonWidth(int value);
    String ButtonHint() const { return Button->Hint(); }
    void SetButtonHint(const String& value) { Button->SetHint(value); }
    const TBitmap& Glyph() const { return Button->Glyph(); }
    void SetGlyph(const TBitmap& value);
    int NumGlyphs() const { return Button->NumGlyphs(); }
    void SetNumGlyphs(int value);
    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind value);
    bool EditCanModify() const { return !readOnly_; }

    // The button's click and the click key: the button action, unless the edit is read-only.
    void ButtonAction();
    void KeyDown(int& key, TShiftState shift) override;
    // A smaller height is raised to this once the edit is made.
    int MinHeight() const;
    void Resize() override;
    void SetBounds(int left, int top, int width, int height) override;
    void EnabledChanged() override;
    // Entering by the keyboard selects the text only while typing into the edit is allowed.
    bool SelectsAllOnEntry() const override { return AutoSelect && directInput_; }
    // The text cursor is one pixel wide, two with a bold font, and FontLineHeight high.
    void DoEnter() override;
    // The text height of the smaller of the system font and the edit's own.
    int FontLineHeight() const;

protected:
    // The glyph of gkDefault; none here.
    virtual const TBitmap* DefaultGlyphBitmap() const { return nullptr; }
    virtual void DoButtonClick() { Fire(OnButtonClick, this); }
    void RebuildButtonGlyph();
    void PlaceButton();
    int defaultNumGlyphs_ = 1;
    bool creating_ = true;

    // The frame changed (Ctl3D or the border style): the button moves inside the new one.
    void ApplyBorder() override;

private:
    void SizeChanged();
    void SetTextArea();
    void ApplyWindowReadOnly() { TEdit::SetReadOnly(readOnly_ || !directInput_); }
    bool readOnly_ = false;
    bool directInput_ = true;
    TGlyphKind glyphKind_ = gkCustom;
};
