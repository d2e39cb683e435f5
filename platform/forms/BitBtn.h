#pragma once
// A push button with a glyph beside its caption. The glyph is a strip of up to four images
// (normal, disabled, pressed, down); the button shows the first.
#include "ButtonLayout.h"
#include "StdCtrls.h"

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    const TBitmap& Glyph() const { return glyph_; }
    // A strip whose width is a whole multiple of its height sets NumGlyphs to the number of
    // squares, when that is at most four.
    void SetGlyph(const TBitmap& value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout = blGlyphLeft;
    // -1: centred (Margin) or evenly spread (Spacing).
    int Margin = -1;
    int Spacing = 4;

private:
    void ShowGlyph();
    TBitmap glyph_;
    int numGlyphs_ = 1;
};
