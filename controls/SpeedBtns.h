#pragma once
// Graphic push buttons in three styles, the auto-repeat button and the up/down spin pair.
#include "ButtonLayout.h"
#include "Controls.h"
#include "ExtCtrls.h"
#include "GlyphList.h"
#include "ImgList.h"
#include "Menus.h"

#include <memory>
#include <vector>

// The ordinal of a state is also its column in a glyph strip.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive, bsArrowDown };
enum TFlatSpeedButtonStyle { sbsNormal, sbsComboButton, sbsMenu };

// The class library's placing of a glyph of glyphSize and a caption in client, moved by
// offset: glyphPos is the glyph's top-left, textBounds the caption's rectangle.
void CalcButtonLayout(TCanvas& canvas, const TRect& client, const TPoint& offset, const String& caption,
                      TButtonLayout layout, int margin, int spacing, const TPoint& glyphSize, TPoint& glyphPos,
                      TRect& textBounds, bool biDiRightToLeft);

// A glyph bitmap turned into one image per button state.
class TButtonGlyph : public TObject {
public:
    TButtonGlyph();
    ~TButtonGlyph() override;
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    TBitmap& Glyph() { return *original_; }
    // Copies the picture (nullptr empties it). A strip whose width is a whole multiple of its
    // height sets NumGlyphs to the number of squares, or to 1 beyond four.
    void SetGlyph(const TBitmap* value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TColor TransparentColor() const { return transparentColor_; }
    // Drops the built images; they are built again on next use.
    void Invalidate();
    TNotifyEvent OnChange;

    // Lays out and draws glyph and caption; returns the rectangle the caption went into.
    TRect Draw(TCanvas& canvas, const TRect& client, const TPoint& offset, const String& caption,
               TButtonLayout layout, int margin, int spacing, TButtonState state, bool biDiRightToLeft);
    // Index in the glyph list of the state's image, built on first use; -1 without a glyph.
    int CreateButtonGlyph(TButtonState state);
    TGlyphList* List() const { return list_; }

private:
    void GlyphChanged();
    void CalcButtonLayout(TCanvas& canvas, const TRect& client, const TPoint& offset, const String& caption,
                          TButtonLayout layout, int margin, int spacing, TPoint& glyphPos, TRect& textBounds,
                          bool biDiRightToLeft);
    std::unique_ptr<TBitmap> original_;
    TGlyphList* list_ = nullptr;
    int indexes_[5] = {-1, -1, -1, -1, -1};
    TColor transparentColor_ = clOlive;
    int numGlyphs_ = 1;
    bool updating_ = false;
};

class TCustomFlatSpeedButton : public TGraphicControl {
public:
    explicit TCustomFlatSpeedButton(TComponent* owner);
    ~TCustomFlatSpeedButton() override;

    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TBitmap& Glyph() { return glyph_->Glyph(); }
    void SetGlyph(const TBitmap* value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int MenuButtonWidth() const { return menuButtonWidth_; }
    void SetMenuButtonWidth(int value);
    int NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TFlatSpeedButtonStyle Style() const { return style_; }
    void SetStyle(TFlatSpeedButtonStyle value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    TPopupMenu* DropDownMenu = nullptr;  // not owned

    TButtonState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }
    TButtonGlyph& ButtonGlyph() { return *glyph_; }

    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DblClick() override;
    void EnabledChanged() override;
    // A button with an empty glyph takes the action's image as its glyph.
    void ActionChange(TBasicAction& action) override;
    // Another button of the parent went down in a group.
    void ButtonPressed(int groupIndex, TCustomFlatSpeedButton* sender);

protected:
    void UpdateExclusive();
    bool Dragging() const { return dragging_; }
    TCanvas& PaintCanvas() { return Canvas(); }
    void SetState(TButtonState s) { state_ = s; }
    // Paints onto a canvas sized like the button (the screen, or a test's bitmap).
    virtual void PaintOn(TCanvas& canvas);

private:
    void UpdateTracking();
    void PaintNormal(TCanvas& canvas);
    void PaintMenu(TCanvas& canvas);
    void SettleState();
    TRect ArrowRect() const;

    int groupIndex_ = 0;
    std::unique_ptr<TButtonGlyph> glyph_;
    bool down_ = false;
    bool dragging_ = false;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int spacing_ = 4;
    bool transparent_ = true;
    int margin_ = -1;
    bool flat_ = false;
    bool mouseInControl_ = false;
    TFlatSpeedButtonStyle style_ = sbsNormal;
    int menuButtonWidth_ = 11;
    bool arrowPressed_ = false;
    TButtonState state_ = bsUp;
};

class TFlatSpeedButton : public TCustomFlatSpeedButton {
public:
    using TCustomFlatSpeedButton::TCustomFlatSpeedButton;
};

enum TTimeBtnState { tbFocusRect = 1, tbAllowTimer = 2 };
using TTimeBtnStates = unsigned;

// Repeats its click while held: first after 400 ms, then every 100 ms.
class TTimerSpeedButton : public TFlatSpeedButton {
public:
    explicit TTimerSpeedButton(TComponent* owner) : TFlatSpeedButton(owner) {}
    ~TTimerSpeedButton() override;
    TTimeBtnStates TimeBtnState = 0;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // The shared timer's tick while this button owns it.
    void TimerExpired();

protected:
    void PaintOn(TCanvas& canvas) override;
};

// The one repeat timer all timer buttons share; created on first use.
TTimer& SpeedButtonRepeatTimer();
// The button the repeat timer currently serves, nullptr when none.
TTimerSpeedButton* RepeatingButton();

// The 9 x 4 black arrow glyphs of the spin buttons on a white ground.
std::unique_ptr<TBitmap> DefaultSpinGlyph(bool up);

// An up and a down timer button stacked in one control.
class TSpinButton : public TCustomControl {
public:
    explicit TSpinButton(TComponent* owner);
    ~TSpinButton() override;

    TTimerSpeedButton* UpButton() const { return upButton_; }
    TTimerSpeedButton* DownButton() const { return downButton_; }
    TTimerSpeedButton* FocusedButton() const { return focusedButton_; }
    void SetFocusBtn(TTimerSpeedButton* button);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);

    bool UpEnabled() const;
    void SetUpEnabled(bool value);
    bool DownEnabled() const;
    void SetDownEnabled(bool value);
    void SetEnabled(bool value);
    // nullptr restores the default arrow.
    void SetUpGlyph(const TBitmap* value);
    void SetDownGlyph(const TBitmap* value);
    int UpNumGlyphs() const { return upButton_->NumGlyphs(); }
    void SetUpNumGlyphs(int value) { upButton_->SetNumGlyphs(value); }
    int DownNumGlyphs() const { return downButton_->NumGlyphs(); }
    void SetDownNumGlyphs(int value) { downButton_->SetNumGlyphs(value); }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    void SetBounds(int left, int top, int width, int height) override;
    void Resize() override;
    void KeyDown(int& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TTimerSpeedButton* CreateButton();
    void BtnMouseDown(TObject* sender, TMouseButton button);
    void BtnClick(TObject* sender);
    void AdjustSize(int& w, int& h);
    bool CanFocusSelf() const;

    TTimerSpeedButton* upButton_;
    TTimerSpeedButton* downButton_;
    TTimerSpeedButton* focusedButton_;
    TWinControl* focusControl_ = nullptr;
    bool upEnabled_ = true;
    bool downEnabled_ = true;
    bool upDefault_ = true;
    bool downDefault_ = true;
};
