#pragma once
// The caption bar settings of the collapsible panel.
#include "Graphics.h"

#include <memory>

enum TShadeType { stNormal, stNoise, stDiagShade, stHShade, stVShade, stHBump, stVBump, stSoftBump, stHardBump,
                  stLMetal, stRMetal, stIRadial, stORadial, stHShadeInv, stVShadeInv, stXPCaption, stBitmap,
                  stBitmapRStretch, stBitmapLStretch };
enum TCaptionShape { csRectangle, csRounded, csSemiRounded };
enum TCaptionButtonPosition { cbpRight, cbpLeft };

class TPanelCaption : public TPersistent {
public:
    TPanelCaption();
    ~TPanelCaption() override;

    void Assign(const TPersistent& source) override;

    int Height() const { return height_; }
    void SetHeight(int v) { if (v != height_) { height_ = v; Changed(); } }
    const String& Text() const { return text_; }
    void SetText(const String& v) { text_ = v; Changed(); }
    TColor Color() const { return color_; }
    void SetColor(TColor v) { if (v != color_) { color_ = v; ShadeChanged(); } }
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor v) { colorTo_ = v; Changed(); }
    TFont& Font() { return *font_; }
    void SetFont(const TFont& v) { font_->Assign(v); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool CloseButton() const { return closeButton_; }
    void SetCloseButton(bool v) { if (v != closeButton_) { closeButton_ = v; Changed(); } }
    bool MinMaxButton() const { return minMaxButton_; }
    void SetMinMaxButton(bool v) { if (v != minMaxButton_) { minMaxButton_ = v; Changed(); } }
    TColor MinMaxButtonColor() const { return minMaxButtonColor_; }
    void SetMinMaxButtonColor(TColor v) { if (v != minMaxButtonColor_) { minMaxButtonColor_ = v; Changed(); } }
    TColor CloseButtonColor() const { return closeButtonColor_; }
    void SetCloseButtonColor(TColor v) { if (v != closeButtonColor_) { closeButtonColor_ = v; Changed(); } }
    TColor CloseColor() const { return closeColor_; }
    void SetCloseColor(TColor v) { if (v != closeColor_) { closeColor_ = v; Changed(); } }
    TBitmap& MinGlyph() { return *minGlyph_; }
    void SetMinGlyph(const TBitmap& v) { minGlyph_->Assign(v); }
    TBitmap& MaxGlyph() { return *maxGlyph_; }
    void SetMaxGlyph(const TBitmap& v) { maxGlyph_->Assign(v); }
    TBitmap& CloseMinGlyph() { return *closeMinGlyph_; }
    void SetCloseMinGlyph(const TBitmap& v) { closeMinGlyph_->Assign(v); Changed(); }
    TBitmap& CloseMaxGlyph() { return *closeMaxGlyph_; }
    void SetCloseMaxGlyph(const TBitmap& v) { closeMaxGlyph_->Assign(v); Changed(); }
    TBitmap& Background() { return *background_; }
    void SetBackground(const TBitmap& v) { background_->Assign(v); ShadeChanged(); }
    // Values below 200 are kept as 200.
    int ShadeLight() const { return shadeLight_; }
    void SetShadeLight(int v) { shadeLight_ = v < 200 ? 200 : v; ShadeChanged(); }
    uint8_t ShadeGrain() const { return shadeGrain_; }
    void SetShadeGrain(uint8_t v) { shadeGrain_ = v; ShadeChanged(); }
    TShadeType ShadeType() const { return shadeType_; }
    void SetShadeType(TShadeType v) { shadeType_ = v; ShadeChanged(); }
    TCaptionShape Shape() const { return shape_; }
    void SetShape(TCaptionShape v) { shape_ = v; ShadeChanged(); }
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; ShadeChanged(); }
    int Indent() const { return indent_; }
    void SetIndent(int v) { if (v != indent_) { indent_ = v; Changed(); } }
    int TopIndent() const { return topIndent_; }
    void SetTopIndent(int v) { if (v != topIndent_) { topIndent_ = v; Changed(); } }
    TCaptionButtonPosition ButtonPosition = cbpRight;

    TNotifyEvent OnChange;
    TNotifyEvent OnShadeChange;
    TNotifyEvent OnStateChange;

private:
    void Changed() { Fire(OnChange, this); }
    void ShadeChanged();

    int height_ = 20;
    String text_;
    TColor color_ = clHighlight;
    TColor colorTo_ = clNone;
    std::unique_ptr<TFont> font_;
    bool visible_ = false;
    bool closeButton_ = false;
    bool minMaxButton_ = false;
    TColor minMaxButtonColor_ = clWhite;
    TColor closeButtonColor_ = clWhite;
    TColor closeColor_ = clBtnFace;
    std::unique_ptr<TBitmap> minGlyph_, maxGlyph_, closeMinGlyph_, closeMaxGlyph_, background_;
    int shadeLight_ = 200;
    uint8_t shadeGrain_ = 32;
    TShadeType shadeType_ = stNormal;
    TCaptionShape shape_ = csRectangle;
    bool flat_ = false;
    int indent_ = 0;
    int topIndent_ = 0;
};
