// The glyph renderer: state pictures and the face layout of the glyph speed button.
#include "CtrlUtils.h"
#include "GlyphCtrls.h"
#include "GlyphList.h"
#include "MaxMin.h"

#include <QImage>

#include <algorithm>

#include <sstream>
#include <vector>

namespace {

TColor PixelOf(const TBitmap& bitmap, int x, int y)
{
    const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void PutPixel(TBitmap& bitmap, int x, int y, TColor rgb)
{
    uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    p[0] = GetBValue(rgb);
    p[1] = GetGValue(rgb);
    p[2] = GetRValue(rgb);
}

// A 24-bit copy of the source rectangle (number * w, 0)-((number + 1) * w, h).
std::unique_ptr<TBitmap> CopyImage(const TBitmap& source24, int number, int w, int h)
{
    auto work = std::make_unique<TBitmap>(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            PutPixel(*work, x, y, PixelOf(source24, number * w + x, y));
    return work;
}

void DrawMark(TCanvas& canvas, int x, int y, TColor color)
{
    canvas.Pen.Color = color;
    for (int row = 0; row < 4; ++row) {
        canvas.MoveTo(x + row, y - 1 + row);
        canvas.LineTo(x + 7 - row, y - 1 + row);
    }
}

// Every line shortened to the room, at most 255 characters, trailing blanks dropped.
String FitCaption(const String& caption, TCanvas& canvas, int width)
{
    String text = caption.substr(0, 255), fitted, line;
    std::istringstream lines(text);
    bool first = true;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        fitted += (first ? "" : "\r\n") + FitTextWithEllipsis(line, canvas, width);
        first = false;
    }
    while (!fitted.empty() && static_cast<unsigned char>(fitted.back()) <= ' ')
        fitted.pop_back();
    return fitted.substr(0, 255);
}

}  // namespace

TSpeedGlyph::TSpeedGlyph() : source_(0, 0, pf24bit) { GlyphRendererCreated(); }

TSpeedGlyph::~TSpeedGlyph()
{
    ClearStateImages();
    GlyphRendererDestroyed();
}

void TSpeedGlyph::SetGlyph(const TBitmap& value)
{
    ClearStateImages();
    source_.Assign(value);
    SourceChanged();
}

void TSpeedGlyph::SourceChanged()
{
    ClearStateImages();
    if (source_.Height() > 0 && source_.Width() > 0) {
        keyColor_ = source_.TransparentColor() & ~0x02000000;
        if (source_.Width() % source_.Height() == 0) {
            int n = source_.Width() / source_.Height();
            SetNumGlyphs(n > 5 ? 1 : n);
        }
    }
    Fire(OnChange, nullptr);
}

void TSpeedGlyph::SetNumGlyphs(int value)
{
    if (value != numGlyphs_ && value > 0) {
        ClearStateImages();
        numGlyphs_ = value;
    }
}

void TSpeedGlyph::ClearStateImages()
{
    for (int& slot : stateSlots_) {
        if (slot != -1 && list_)
            list_->FreeSlot(slot);
        slot = -1;
    }
    if (list_)
        GlyphCache()->ReleaseList(list_);
    list_ = nullptr;
}

TGlyphList* TSpeedGlyph::TakeList(int width, int height)
{
    if (!list_)
        list_ = GlyphCache()->ListFor(width, height);
    return list_;
}

TColor TSpeedGlyph::GreyColor(TColor color) const
{
    const TColor rgb = ColorToRGB(color);
    if (color == keyColor_ || rgb == ColorToRGB(clBtnFace))
        return color;
    const int i = (GetRValue(rgb) * 77 + GetGValue(rgb) * 150 + GetBValue(rgb) * 29) >> 8;
    return RGB(i, i, i);
}

int TSpeedGlyph::StateImageIndex(TGlyphButtonState state)
{
    if (state == gbsDown && numGlyphs_ < 3)
        state = gbsUp;
    if (stateSlots_[state] != -1)
        return stateSlots_[state];
    if (source_.Width() == 0 || source_.Height() == 0)
        return -1;
    const int w = source_.Width() / numGlyphs_, h = source_.Height();
    if (w == 0)
        return -1;
    TGlyphList* list = TakeList(w, h);
    TBitmap source24(source_.Width(), h, pf24bit);
    source24.Canvas().Draw(0, 0, source_);
    source24.Canvas().Release();
    const int number = static_cast<int>(state) < numGlyphs_ ? static_cast<int>(state) : 0;
    switch (state) {
    case gbsUp:
    case gbsDown:
    case gbsExclusive:
        stateSlots_[state] = list->AddMaskedImage(*CopyImage(source24, number, w, h), keyColor_);
        break;
    case gbsDisabled:
        if (numGlyphs_ == 1)
            // Built on the face colour, which the mask then makes see-through.
            stateSlots_[state] = list->AddMaskedImage(*DisabledBitmapStd(source24, clBlack), ColorToRGB(clBtnFace));
        else
            stateSlots_[state] = list->AddMaskedImage(*CopyImage(source24, number, w, h), keyColor_);
        break;
    case gbsInactive: {
        std::unique_ptr<TBitmap> picture = CopyImage(source24, numGlyphs_ == 5 ? 4 : 0, w, h);
        if (numGlyphs_ != 5)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    PutPixel(*picture, x, y, GreyColor(PixelOf(*picture, x, y)));
        stateSlots_[state] = list->AddMaskedImage(*picture, keyColor_);
        break;
    }
    }
    source_.Dormant();
    return stateSlots_[state];
}

int TSpeedGlyph::ImageListStateIndex(TGlyphButtonState state, const TImageList& images, int index)
{
    if (state == gbsDown)
        state = gbsUp;
    if (stateSlots_[state] != -1)
        return stateSlots_[state];
    const int w = images.Width, h = images.Height;
    if (w <= 0 || h <= 0 || images.Count() == 0)
        return -1;
    TGlyphList* list = TakeList(w, h);
    TBitmap work(w, h, pf24bit);
    TCanvas& canvas = work.Canvas();
    const TColor face = ColorToRGB(clBtnFace);
    canvas.Brush.Style = bsSolid;
    switch (state) {
    case gbsUp:
    case gbsDown:
    case gbsExclusive: {
        // The picture on the canvas's own brush, its mask one bit deep: white where it is clear.
        canvas.Brush.Color = clWhite;
        canvas.FillRect(TRect{0, 0, w, h});
        images.Draw(canvas, 0, 0, index);
        canvas.Release();
        TBitmap mask(w, h, pf24bit);
        mask.Canvas().Brush.Color = clWhite;
        mask.Canvas().FillRect(TRect{0, 0, w, h});
        mask.Canvas().Release();
        const QImage alpha = images.Image(std::clamp(index, 0, images.Count() - 1));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (index >= 0 && index < images.Count() && qAlpha(alpha.pixel(x, y)) >= 128)
                    PutPixel(mask, x, y, clBlack);
        stateSlots_[state] = list->AddImage(work, mask);
        break;
    }
    case gbsDisabled:
        canvas.Brush.Color = face;
        canvas.FillRect(TRect{0, 0, w, h});
        DrawListImageDisabled(images, canvas, 0, 0, index, clBtnHighlight, clBtnShadow, true);
        canvas.Release();
        stateSlots_[state] = list->AddMaskedImage(work, face);
        break;
    case gbsInactive:
        canvas.Brush.Color = face;
        canvas.FillRect(TRect{0, 0, w, h});
        images.Draw(canvas, 0, 0, index);
        canvas.Release();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                PutPixel(work, x, y, GreyColor(PixelOf(work, x, y)));
        stateSlots_[state] = list->AddMaskedImage(work, face);
        break;
    }
    return stateSlots_[state];
}

TRect TSpeedGlyph::PaintFace(TCanvas& canvas, const TRect& client, const String& caption, TButtonLayout layout,
                             int margin, int spacing, bool drawMark, TGlyphButtonState state, unsigned textFlags,
                             const TImageList* images, int imageIndex)
{
    const bool fromList = images && images->Width >= 1 && imageIndex >= 0 && imageIndex < images->Count();
    // Layout along the button's axis; all halvings truncate toward zero.
    const TPoint clientSize {client.Right - client.Left, client.Bottom - client.Top};
    TPoint glyphSize {0, 0};
    if (fromList)
        glyphSize = {images->Width, images->Height};
    else if (source_.Width() > 0 && source_.Height() > 0)
        glyphSize = {source_.Width() / numGlyphs_, source_.Height()};
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    TPoint room {clientSize.X, clientSize.Y};
    if (horizontal) {
        room.X = clientSize.X - glyphSize.X - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0) -
                 (drawMark ? 9 : 0);
    } else {
        room.Y = clientSize.Y - glyphSize.Y - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0);
    }
    room.X = IntMax(room.X, 0);
    room.Y = IntMax(room.Y, 0);

    const String shown = WordWrap ? caption : FitCaption(caption, canvas, room.X);
    TRect textBounds {0, 0, 0, 0};
    if (!shown.empty()) {
        TRect measured {0, 0, room.X, 0};
        canvas.DrawText(shown, measured, DT_CALCRECT | DT_CENTER | DT_VCENTER | (WordWrap ? unsigned(DT_WORDBREAK) : 0u) | textFlags);
        textBounds.Right = IntMax(0, IntMin(room.X, measured.Right - measured.Left));
        textBounds.Bottom = IntMax(0, IntMin(room.Y, measured.Bottom - measured.Top));
    }
    TPoint textSize {textBounds.Right, textBounds.Bottom};
    if (drawMark) {
        if (glyphSize.X == 0 || glyphSize.Y == 0 || layout == blGlyphLeft)
            textSize.X += 9;
        else if (glyphSize.X > 0)
            glyphSize.X += 6;
    }
    TPoint glyphPos {0, 0}, textPos {0, 0};
    if (horizontal) {
        glyphPos.Y = clientSize.Y / 2 - glyphSize.Y / 2;
        textPos.Y = clientSize.Y / 2 - textSize.Y / 2;
    } else {
        glyphPos.X = clientSize.X / 2 - glyphSize.X / 2;
        textPos.X = clientSize.X / 2 - textSize.X / 2;
    }
    if (textSize.X == 0 || glyphSize.X == 0)
        spacing = 0;
    auto axis = [horizontal](const TPoint& p) { return horizontal ? p.X : p.Y; };
    if (margin == -1 && spacing != -1) {
        margin = axis(clientSize) / 2 - (axis(glyphSize) + spacing + axis(textSize)) / 2;
    } else if (margin == -1) {
        spacing = (axis(clientSize) - (axis(glyphSize) + axis(textSize))) / 3;
        margin = spacing;
    } else if (spacing == -1) {
        spacing = (axis(clientSize) - (margin + axis(glyphSize))) / 2 - axis(textSize) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyphPos.X = margin;
        textPos.X = glyphPos.X + glyphSize.X + spacing;
        break;
    case blGlyphRight:
        glyphPos.X = clientSize.X - margin - glyphSize.X;
        textPos.X = glyphPos.X - spacing - textSize.X;
        break;
    case blGlyphTop:
        glyphPos.Y = margin;
        textPos.Y = glyphPos.Y + glyphSize.Y + spacing;
        break;
    case blGlyphBottom:
        glyphPos.Y = clientSize.Y - margin - glyphSize.Y;
        textPos.Y = glyphPos.Y - spacing - textSize.Y;
        break;
    }
    glyphPos = {glyphPos.X + client.Left, glyphPos.Y + client.Top};
    textBounds = {textBounds.Left + textPos.X + client.Left, textBounds.Top + textPos.Y + client.Top,
                  textBounds.Right + textPos.X + client.Left, textBounds.Bottom + textPos.Y + client.Top};

    TPoint drawn {0, 0};
    if (fromList) {
        if (state == gbsDisabled)
            DrawListImageDisabled(*images, canvas, glyphPos.X, glyphPos.Y, imageIndex, clBtnHighlight, clBtnShadow, true);
        else if (state == gbsInactive) {
            if (const int slot = ImageListStateIndex(state, *images, imageIndex); slot >= 0)
                list_->Draw(canvas, glyphPos.X, glyphPos.Y, slot);
        } else
            images->Draw(canvas, glyphPos.X, glyphPos.Y, imageIndex);
        drawn = glyphSize;
    } else if (const int slot = StateImageIndex(state); slot >= 0) {
        list_->Draw(canvas, glyphPos.X, glyphPos.Y, slot);
        drawn = {list_->Width, list_->Height};
    }
    if (!shown.empty()) {
        const TBrushStyle brush = canvas.Brush.Style;
        canvas.Brush.Style = bsClear;
        const unsigned flags = DT_VCENTER | (WordWrap ? unsigned(DT_WORDBREAK) : 0u) | textFlags;
        const TColor fontColor = canvas.Font.Color();
        if (state == gbsDisabled) {
            TRect shifted {textBounds.Left + 1, textBounds.Top + 1, textBounds.Right + 1, textBounds.Bottom + 1};
            canvas.Font.SetColor(clBtnHighlight);
            canvas.DrawText(shown, shifted, flags);
            canvas.Font.SetColor(clBtnShadow);
        }
        TRect bounds = textBounds;
        canvas.DrawText(shown, bounds, flags);
        canvas.Font.SetColor(fontColor);
        canvas.Brush.Style = brush;
    }
    if (drawMark) {
        int x, y;
        if (layout != blGlyphLeft && (source_.Width() > 0 || fromList)) {
            x = glyphPos.X + drawn.X + 1;
            y = glyphPos.Y + drawn.Y / 2;
        } else {
            x = !shown.empty() ? textBounds.Right + 3 : (client.Left + client.Right - 7) / 2;
            y = textBounds.Top + (textBounds.Bottom - textBounds.Top) / 2;
        }
        if (state == gbsDisabled) {
            DrawMark(canvas, x + 1, y + 1, clBtnHighlight);
            DrawMark(canvas, x, y, clBtnShadow);
        } else {
            DrawMark(canvas, x, y, clBtnText);
        }
    }
    return textBounds;
}
