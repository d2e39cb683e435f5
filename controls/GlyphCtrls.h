#pragma once
// A window-less push button with a glyph of up to five state images and a caption, flat and
// group modes, an auto-repeat timer and an optional drop-down menu.
#include "ButtonLayout.h"
#include "Controls.h"
#include "Forms.h"
#include "ExtCtrls.h"
#include "Menus.h"

#include <array>
#include <memory>

enum TGlyphButtonState { gbsUp, gbsDisabled, gbsDown, gbsExclusive, gbsInactive };
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum TGlyphDropDownMenuPos { dmpBottom, dmpRight };
using TGlyphAlignment = TAlignment;

class TGlyphList;
class TImageList;

// Builds one picture per button state from the glyph bitmap (or an image list's picture) and
// draws the face. The pictures live in the glyph lists all buttons share, one list per size.
class TSpeedGlyph {
public:
    TSpeedGlyph();
    ~TSpeedGlyph();
    TSpeedGlyph(const TSpeedGlyph&) = delete;
    TSpeedGlyph& operator=(const TSpeedGlyph&) = delete;
    const TBitmap& Glyph() const { return source_; }
    void SetGlyph(const TBitmap& value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TColor KeyColor() const { return keyColor_; }
    bool WordWrap = false;
    TGlyphAlignment Alignment = taCenter;
    TNotifyEvent OnChange;

    // The slot in List() of a state's picture, built on first use; -1 when there is nothing
    // to draw. The second form builds it from an image list's picture.
    int StateImageIndex(TGlyphButtonState state);
    int ImageListStateIndex(TGlyphButtonState state, const TImageList& images, int index);
    // The shared list holding this renderer's pictures; nullptr until one is built.
    TGlyphList* List() const { return list_; }
    void ClearStateImages();
    TColor GreyColor(TColor color) const;
    // Lays out and draws glyph (or the image list's picture), caption and drop-down mark;
    // returns the caption's rectangle.
    TRect PaintFace(TCanvas& canvas, const TRect& client, const String& caption, TButtonLayout layout, int margin,
                    int spacing, bool drawMark, TGlyphButtonState state, unsigned textFlags,
                    const TImageList* images = nullptr, int imageIndex = -1);

private:
    void SourceChanged();
    TGlyphList* TakeList(int width, int height);
    TBitmap source_;
    TGlyphList* list_ = nullptr;
    int stateSlots_[5] = {-1, -1, -1, -1, -1};
    TColor keyColor_ = 0xFF00FF;
    int numGlyphs_ = 1;
};

class TGlyphSpeedButton : public TGraphicControl {
public:
    explicit TGlyphSpeedButton(TComponent* owner);
    ~TGlyphSpeedButton() override;

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool MarkDropDown() const { return markDropDown_; }
    void SetMarkDropDown(bool value);
    bool GrayedInactive() const { return grayedInactive_; }
    void SetGrayedInactive(bool value);
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* value);
    TGlyphDropDownMenuPos MenuPosition = dmpBottom;
    bool AllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool value);
    unsigned InitPause = 500;
    unsigned RepeatInterval = 100;
    TModalResult ModalResult = mrNone;

    const TBitmap& Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(const TBitmap& value);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int value);
    TGlyphAlignment Alignment() const { return glyph_.Alignment; }
    void SetAlignment(TGlyphAlignment value);
    bool WordWrap() const { return glyph_.WordWrap; }
    void SetWordWrap(bool value);

    TGlyphButtonState State() const { return state_; }
    bool Pressed() const { return pressed_; }
    bool Hovered() const { return hovered_; }
    bool MenuShowing() const { return menuShowing_; }
    TTimer* AutoRepeatTimer() const { return timer_.get(); }
    TSpeedGlyph& GlyphRenderer() { return glyph_; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    void Paint() override;
    virtual TRect PaintFace(TCanvas& canvas, const TRect& rect, TGlyphButtonState state, bool drawMark);
    void Click() override;
    void DblClick() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;
    void SetVisible(bool value) override;
    void ActionChange(TBasicAction& action) override;
    // Hovered becomes whether the pointer is over the enabled button while the program is in
    // the foreground; a change repaints a flat button and fires OnMouseEnter or OnMouseLeave.
    void TrackMouse();
    // A press while the button is down, driven by the repeat timer.
    void RepeatTick(TObject* sender);
    // Where the drop-down menu opens, in the button's co-ordinates.
    TPoint MenuOrigin() const;
    // Another button of the same group went down.
    void GroupButtonDown(TGlyphSpeedButton& sender);
    // The drawn face, as last painted.
    const TBitmap& FaceImage() const { return image_; }

protected:
    // A drop-down menu freed elsewhere is let go of, so the button never pops up freed memory.
    void Notification(TComponent* component, TOperation operation) override;
    TRect PaintFrame(TCanvas& canvas, TRect client, bool isDown);
    TGlyphButtonState state_ = gbsUp;

private:
    bool Inside(int x, int y) const;
    void ReleaseSteps(int x, int y);
    void NotifyGroup();
    TSpeedGlyph glyph_;
    TBitmap image_;
    std::unique_ptr<TTimer> timer_;
    TPopupMenu* dropDownMenu_ = nullptr;
    int groupIndex_ = 0;
    int margin_ = -1;
    int spacing_ = 1;
    TButtonLayout layout_ = blGlyphTop;
    TButtonStyle style_ = bsAutoDetect;
    bool down_ = false;
    bool pressed_ = false;
    bool flat_ = false;
    bool hovered_ = false;
    bool allowAllUp_ = false;
    bool transparent_ = false;
    bool markDropDown_ = true;
    bool grayedInactive_ = true;
    bool menuShowing_ = false;
    bool allowTimer_ = false;
};
