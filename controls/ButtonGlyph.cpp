#include "SpeedBtns.h"

#include "DrawLib.h"

#include <algorithm>

namespace {

TColor BottomLeftColor(TBitmap& bitmap)
{
    if (bitmap.Empty())
        return clOlive;
    const uint8_t* p = bitmap.ScanLine(bitmap.Height() - 1);
    return RGB(p[2], p[1], p[0]);
}

TColor PixelAt(TBitmap& bitmap, int x, int y)
{
    const uint8_t* p = bitmap.ScanLine(y) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void PutPixel(TBitmap& bitmap, int x, int y, TColor color)
{
    TColor c = ColorToRGB(color);
    uint8_t* p = bitmap.ScanLine(y) + x * 3;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
}

bool IsDark(TColor c)
{
    return GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114 < 128000;
}
}  // namespace

// ---- the glyph --------------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph() : original_(std::make_unique<TBitmap>())
{
    original_->OnChange = [this](TObject*) { GlyphChanged(); };
    GlyphRendererCreated();
}

TButtonGlyph::~TButtonGlyph()
{
    Invalidate();
    original_->OnChange = nullptr;
    GlyphRendererDestroyed();
}

void TButtonGlyph::Invalidate()
{
    for (int& index : indexes_) {
        if (index != -1 && list_)
            list_->FreeSlot(index);
        index = -1;
    }
    if (list_)
        GlyphCache()->ReleaseList(list_);
    list_ = nullptr;
}

void TButtonGlyph::GlyphChanged()
{
    if (updating_)
        return;
    transparentColor_ = original_->Empty() ? clOlive : original_->TransparentColor();
    Invalidate();
    Fire(OnChange, this);
}

void TButtonGlyph::SetGlyph(const TBitmap* value)
{
    Invalidate();
    updating_ = true;
    if (value && !value->Empty()) {
        original_->Assign(*value);
        original_->SetPixelFormat(pf24bit);
    } else {
        original_->SetSize(0, 0);
    }
    updating_ = false;
    if (value && value->Height() > 0 && value->Width() % value->Height() == 0) {
        int glyphs = value->Width() / value->Height();
        numGlyphs_ = glyphs > 4 ? 1 : glyphs;
    }
    GlyphChanged();
}

void TButtonGlyph::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (value == numGlyphs_)
        return;
    Invalidate();
    numGlyphs_ = value;
    GlyphChanged();
}

int TButtonGlyph::CreateButtonGlyph(TButtonState state)
{
    if (state == bsDown && numGlyphs_ < 3)
        state = bsUp;
    if (indexes_[state] != -1)
        return indexes_[state];
    if (original_->Empty())
        return -1;
    const int w = original_->Width() / numGlyphs_;
    const int h = original_->Height();
    if (w <= 0)
        return -1;
    if (!list_)
        list_ = GlyphCache()->ListFor(w, h);
    const int column = static_cast<int>(state) < numGlyphs_ ? static_cast<int>(state) : 0;
    TBitmap image(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        std::copy_n(original_->ScanLine(y) + column * w * 3, w * 3, image.ScanLine(y));
    const TColor transparent = ColorToRGB(transparentColor_);
    if (state != bsDisabled) {
        indexes_[state] = list_->AddMaskedImage(image, transparent);
        return indexes_[state];
    }
    TBitmap disabled(w, h, pf24bit);
    if (numGlyphs_ == 1) {
        // Embossed: the dark pixels laid in highlight one pixel down-right, then in shadow.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                PutPixel(disabled, x, y, clBtnFace);
        for (TColor brush : {clBtnHighlight, clBtnShadow}) {
            const int d = brush == clBtnHighlight ? 1 : 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    TColor c = PixelAt(image, x, y);
                    if (c != transparent && IsDark(c) && x + d < w && y + d < h)
                        PutPixel(disabled, x + d, y + d, brush);
                }
        }
    } else {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                TColor c = PixelAt(image, x, y);
                TColor out = c == transparent ? clBtnFace
                             : c == clWhite   ? clBtnHighlight
                             : c == clGray    ? clBtnShadow
                                              : c;
                PutPixel(disabled, x, y, out);
            }
    }
    indexes_[state] = list_->AddMaskedImage(disabled, BottomLeftColor(disabled));
    return indexes_[state];
}

void TButtonGlyph::CalcButtonLayout(TCanvas& canvas, const TRect& client, const TPoint& offset,
                                    const String& caption, TButtonLayout layout, int margin, int spacing,
                                    TPoint& glyphPos, TRect& textBounds, bool biDiRightToLeft)
{
    const TPoint glyphSize = original_->Empty() ? TPoint{0, 0}
                                                : TPoint{original_->Width() / numGlyphs_, original_->Height()};
    ::CalcButtonLayout(canvas, client, offset, caption, layout, margin, spacing, glyphSize, glyphPos, textBounds,
                       biDiRightToLeft);
}

void CalcButtonLayout(TCanvas& canvas, const TRect& client, const TPoint& offset, const String& caption,
                      TButtonLayout layout, int margin, int spacing, const TPoint& glyphSize, TPoint& glyphPos,
                      TRect& textBounds, bool biDiRightToLeft)
{
    if (biDiRightToLeft) {
        if (layout == blGlyphLeft)
            layout = blGlyphRight;
        else if (layout == blGlyphRight)
            layout = blGlyphLeft;
    }
    const TPoint clientSize{client.Right - client.Left, client.Bottom - client.Top};
    TPoint textSize{0, 0};
    textBounds = {0, 0, 0, 0};
    if (!caption.empty()) {
        textBounds = {0, 0, clientSize.X, 0};
        canvas.DrawText(caption, textBounds, DT_CALCRECT);
        textSize = {textBounds.Right - textBounds.Left, textBounds.Bottom - textBounds.Top};
    }
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    if (horizontal) {
        glyphPos.Y = (clientSize.Y - glyphSize.Y + 1) / 2;
        textBounds.Top = (clientSize.Y - textSize.Y + 1) / 2;
    } else {
        glyphPos.X = (clientSize.X - glyphSize.X + 1) / 2;
        textBounds.Left = (clientSize.X - textSize.X + 1) / 2;
    }
    if (textSize.X == 0 || glyphSize.X == 0)
        spacing = 0;
    const int total = horizontal ? clientSize.X : clientSize.Y;
    const int glyphLen = horizontal ? glyphSize.X : glyphSize.Y;
    const int textLen = horizontal ? textSize.X : textSize.Y;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (total - glyphLen - textLen) / 3;
            spacing = margin;
        } else {
            margin = (total - glyphLen - spacing - textLen + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (total - margin - glyphLen - textLen) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyphPos.X = margin;
        textBounds.Left = glyphPos.X + glyphSize.X + spacing;
        break;
    case blGlyphRight:
        glyphPos.X = clientSize.X - margin - glyphSize.X;
        textBounds.Left = glyphPos.X - spacing - textSize.X;
        break;
    case blGlyphTop:
        glyphPos.Y = margin;
        textBounds.Top = glyphPos.Y + glyphSize.Y + spacing;
        break;
    case blGlyphBottom:
        glyphPos.Y = clientSize.Y - margin - glyphSize.Y;
        textBounds.Top = glyphPos.Y - spacing - textSize.Y;
        break;
    }
    glyphPos = {glyphPos.X + client.Left + offset.X, glyphPos.Y + client.Top + offset.Y};
    textBounds = {textBounds.Left + client.Left + offset.X, textBounds.Top + client.Top + offset.Y,
                  textBounds.Left + textSize.X + client.Left + offset.X,
                  textBounds.Top + textSize.Y + client.Top + offset.Y};
}

TRect TButtonGlyph::Draw(TCanvas& canvas, const TRect& client, const TPoint& offset, const String& caption,
                         TButtonLayout layout, int margin, int spacing, TButtonState state, bool biDiRightToLeft)
{
    TPoint glyphPos{0, 0};
    TRect textBounds;
    CalcButtonLayout(canvas, client, offset, caption, layout, margin, spacing, glyphPos, textBounds,
                     biDiRightToLeft);
    int index = CreateButtonGlyph(state);
    if (index != -1)
        list_->Draw(canvas, glyphPos.X, glyphPos.Y, index);
    if (!caption.empty()) {
        canvas.Brush.Style = bsClear;
        const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        TRect r = textBounds;
        if (state == bsDisabled) {
            DrawEtchedText(canvas, caption, r, flags);
        } else {
            canvas.DrawText(caption, r, flags);
        }
    }
    return textBounds;
}

