#include "MarkupPanel.h"

#include "HtmlRender.h"
#include "PictureStore.h"
#include "ExtCtrls.h"
#include "MarkupPanelColors.h"
#include "RoundRects.h"
#include "ThemeLoader.h"

namespace {

void Frame(TCanvas& canvas, TRect& r, TBevelCut cut, int width)
{
    const TColor topLeft = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    Frame3D(canvas, r, topLeft, bottomRight, width);
}

void DrawThemed(TWinControl* control, TCanvas& canvas, int part, const TRect& r)
{
    HTHEME theme = ThemeProcs.OpenThemeData(control, "window");
    ThemeProcs.DrawThemeBackground(theme, canvas, part, 1, r, nullptr);
    ThemeProcs.CloseThemeData(theme);
}

}  // namespace

TRect TCustomMarkupPanel::BodyRect(TCanvas& canvas)
{
    TRect r = ClientRect();
    if (caption_->Visible())
        r.Top += caption_->Height() - 2 * BevelWidth;
    if (borderShadow_) {
        r.Right -= 2;
        r.Bottom -= 3;
    }
    r = {r.Left + BorderWidth + indent_, r.Top + BorderWidth + topIndent_, r.Right - BorderWidth,
         r.Bottom - BorderWidth};
    if (textVAlign_ != tvaTop) {
        String anchor, plain, focus;
        int w = 0, h = 0, links = 0, hovered = -1;
        TRect hoveredRect{};
        HtmlDrawText(canvas, text_, r, images_, 0, 0, -1, -1, shadowOffset_, false, true, false, false, true, false,
                     !ellipsis_, 1.0, urlColor_, HoverColor, HoverFontColor, shadowColor_, anchor, plain, focus, w, h,
                     links, hovered, hoveredRect, &cache_, pictureStore_, lineSpacing_);
        if (r.Height() > h)
            r.Top = textVAlign_ == tvaCenter ? r.Top + (r.Height() - h) / 2 : r.Bottom - h;
    }
    return r;
}

TRect TCustomMarkupPanel::CaptionTextRect()
{
    TRect r = ClientRect();
    if (borderShadow_) {
        r.Left = r.Top = BorderWidth;
        r.Right -= 2 + BorderWidth;
    }
    if (BevelInner != bvNone || BevelOuter != bvNone)
        r = {r.Left + BevelWidth, r.Top + BevelWidth, r.Right - BevelWidth, r.Bottom - BevelWidth};
    const int themed = caption_->ShadeType() == stXPCaption && ThemeActive();
    int buttons = 0;
    if (caption_->CloseButton()) {
        // The close glyph shown: the one for the panel's state, as the buttons are drawn.
        const TBitmap& glyph = collaps_ ? caption_->CloseMinGlyph() : caption_->CloseMaxGlyph();
        const bool glyphs = !caption_->CloseMinGlyph().Empty() && !caption_->CloseMaxGlyph().Empty();
        buttons += (themed ? 14 : glyphs ? glyph.Width() : 12) + 20;
    }
    if (caption_->MinMaxButton()) {
        const TBitmap& glyph = collaps_ ? caption_->MaxGlyph() : caption_->MinGlyph();
        // The drawn triangle sits inside the room the text leaves anyway: it takes no width of its own.
        buttons += (themed ? 14 : !glyph.Empty() ? glyph.Width() : 0) + 20;
    }
    if (caption_->ButtonPosition == cbpRight)
        r.Right -= buttons;
    else
        r.Left += buttons;
    r.Bottom = r.Top + caption_->Height();
    r.Left += caption_->Indent();
    r.Top += caption_->TopIndent();
    return r;
}

void TCustomMarkupPanel::Paint()
{
    TCanvas& canvas = Canvas();
    if (!Buffered) {
        PaintOn(canvas);
        return;
    }
    TBitmap buffer(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
    PaintOn(buffer.Canvas());
    canvas.Draw(0, 0, buffer);
}

void TCustomMarkupPanel::PaintOn(TCanvas& canvas)
{
    TRect r = ClientRect();
    if (colorTo_ == clNone) {
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = Color();
        canvas.FillRect(r);
    } else {
        DrawStepGradient(canvas, Color(), colorTo_, false, r, 64);
    }
    if (borderColor_ != clNone && BorderWidth != 0) {
        canvas.Brush.Style = bsClear;
        canvas.Pen.Color = borderColor_;
        canvas.Pen.Width = 1;
        TRect b = r;
        if (borderShadow_) {
            b.Right -= 2;
            b.Bottom -= 2;
        }
        canvas.Rectangle(b);
        if (borderShadow_) {
            canvas.Pen.Color = BlendColor(borderColor_, clBtnFace, 50);
            canvas.MoveTo(b.Right, b.Top);
            canvas.LineTo(b.Right, b.Bottom);
            canvas.LineTo(b.Left, b.Bottom);
            canvas.Pen.Color = BlendColor(borderColor_, clBtnFace, 20);
            canvas.MoveTo(b.Right + 1, b.Top);
            canvas.LineTo(b.Right + 1, b.Bottom + 1);
            canvas.LineTo(b.Left, b.Bottom + 1);
        }
        canvas.Brush.Style = bsSolid;
    }
    TRect bevel = r;
    if (BevelOuter != bvNone)
        Frame(canvas, bevel, BevelOuter, BevelWidth);
    if (borderColor_ == clNone) {
        canvas.Brush.Color = Color();
        canvas.FrameRect(bevel);
        bevel = {bevel.Left + 1, bevel.Top + 1, bevel.Right - 1, bevel.Bottom - 1};
    }
    if (BevelInner != bvNone)
        Frame(canvas, bevel, BevelInner, BevelWidth);

    canvas.Brush.Color = Color();
    canvas.Pen.Color = Color();
    TRect clip = ClientRect();
    if (caption_->Visible())
        clip.Top += caption_->Height() - 2 * BevelWidth;
    if (borderShadow_) {
        clip.Right -= 2;
        clip.Bottom -= 3;
    }
    canvas.SetClipRect(clip);
    if (!background_->Empty()) {
        const int pw = background_->Width(), ph = background_->Height();
        const int right = std::max(clip.Left, clip.Right - clip.Left - pw - BevelWidth);
        const int bottom = std::max(clip.Top, Height() - ph - BevelWidth);
        auto at = [&](int x, int y) { background_->Draw(canvas, {x, y, x + pw, y + ph}); };
        switch (backgroundPosition_) {
        case TBackGroundPosition::bpTopLeft: at(clip.Left, clip.Top); break;
        case TBackGroundPosition::bpTopRight: at(right, clip.Top); break;
        case TBackGroundPosition::bpBottomLeft: at(clip.Left, bottom); break;
        case TBackGroundPosition::bpBottomRight: at(right, bottom); break;
        case TBackGroundPosition::bpCenter: at(right / 2, bottom / 2); break;
        case TBackGroundPosition::bpTiled:
            if (pw > 0 && ph > 0)
                for (int y = clip.Top; y < Height(); y += ph)
                    for (int x = clip.Left; x < Width(); x += pw)
                        at(x, y);
            break;
        case TBackGroundPosition::bpStretched: background_->Draw(canvas, clip); break;
        }
    }
    canvas.Font.Assign(Font);
    {
        String anchor, plain, focus;
        int w = 0, h = 0, links = 0, hovered = -1;
        TRect hoveredRect{};
        HtmlDrawText(canvas, text_, BodyRect(canvas), images_, -1, -1, -1, bodyHoverIndex_, shadowOffset_, false, false,
                     false, false, true, Hover, !ellipsis_, 1.0, urlColor_, HoverColor, HoverFontColor, shadowColor_,
                     anchor, plain, focus, w, h, links, hovered, hoveredRect, &cache_, pictureStore_, lineSpacing_);
    }
    canvas.ClearClip();

    if (caption_->Visible()) {
        TRect c = ClientRect();
        if (borderShadow_) {
            c.Left = c.Top = BorderWidth;
            c.Right -= 2 + BorderWidth;
        }
        if (BevelInner != bvNone || BevelOuter != bvNone)
            c = {c.Left + BevelWidth, c.Top + BevelWidth, c.Right - BevelWidth, c.Bottom - BevelWidth};
        TRect band{c.Left, c.Top, c.Right, c.Top + caption_->Height() - 2 * BevelWidth};
        const TColor bandColor = collaps_ ? caption_->CloseColor() : caption_->Color();
        canvas.Brush.Color = bandColor;
        canvas.Pen.Color = bandColor;
        if (caption_->ShadeType() == stNormal || (caption_->ShadeType() == stXPCaption && !ThemeActive())) {
            if (caption_->ColorTo() == clNone)
                canvas.Rectangle(band);
            else
                DrawStepGradient(canvas, caption_->Color(), caption_->ColorTo(), true, band, 64);
        } else {
            DrawCaptionBackground(canvas, band);
        }
        DrawButtons(canvas, band);
        canvas.Font.Assign(caption_->Font());
        String anchor, plain, focus;
        int w = 0, h = 0, links = 0, hovered = -1;
        TRect hoveredRect{};
        canvas.Brush.Style = bsClear;
        HtmlDrawText(canvas, caption_->Text(), CaptionTextRect(), images_, -1, -1, -1, captionHoverIndex_,
                     shadowOffset_, false, false, false, false, true, Hover, false, 1.0, urlColor_, HoverColor,
                     HoverFontColor, shadowColor_, anchor, plain, focus, w, h, links, hovered, hoveredRect, &cache_,
                     pictureStore_, lineSpacing_);
        canvas.Brush.Style = bsSolid;
    }
    if (!collaps_ && canSize_)
        DrawSizeGrip(canvas);
}

void TCustomMarkupPanel::DrawButtons(TCanvas& canvas, TRect& band)
{
    const bool themed = caption_->ShadeType() == stXPCaption && ThemeActive();
    const bool right = caption_->ButtonPosition == cbpRight;
    auto glyphAt = [&](TBitmap& glyph) {
        const int x = right ? band.Right - glyph.Width() : band.Left;
        glyph.Transparent = true;
        canvas.Draw(x, band.Top + 2, glyph);
        if (right)
            band.Right -= glyph.Width();
        else
            band.Left += glyph.Width();
    };
    auto themedAt = [&](int part) {
        const int x = right ? band.Right - 2 - 14 : band.Left + 2;
        DrawThemed(this, canvas, part, {x, band.Top + 4, x + 14, band.Top + 18});
        if (right)
            band.Right -= 14;
        else
            band.Left += 14;
    };
    if (caption_->CloseButton()) {
        if (themed) {
            themedAt(18);
        } else if (!caption_->CloseMinGlyph().Empty() && !caption_->CloseMaxGlyph().Empty()) {
            glyphAt(collaps_ ? caption_->CloseMinGlyph() : caption_->CloseMaxGlyph());
        } else {
            const int a = right ? band.Right - 4 : band.Left + 4;
            const int b = right ? band.Right - 10 : band.Left + 10;
            canvas.Pen.Width = 2;
            canvas.Pen.Color = caption_->CloseButtonColor();
            canvas.MoveTo(a, band.Top + 4);
            canvas.LineTo(b, band.Top + 10);
            canvas.MoveTo(b, band.Top + 4);
            canvas.LineTo(a, band.Top + 10);
            canvas.Pen.Width = 1;
            if (right)
                band.Right -= 12;
            else
                band.Left += 12;
        }
    }
    if (caption_->MinMaxButton()) {
        TBitmap& glyph = collaps_ ? caption_->MaxGlyph() : caption_->MinGlyph();
        if (themed) {
            themedAt(collaps_ ? 17 : 15);
        } else if (!glyph.Empty()) {
            glyphAt(glyph);
        } else {
            const int a = right ? band.Right - 4 : band.Left + 4;
            const int b = right ? band.Right - 10 : band.Left + 10;
            const int tip = right ? band.Right - 7 : band.Left + 7;
            const int baseY = band.Top + (collaps_ ? 5 : 8);
            const int tipY = band.Top + (collaps_ ? 8 : 5);
            const TPoint points[3] = {{a, baseY}, {b, baseY}, {tip, tipY}};
            canvas.Pen.Width = 1;
            canvas.Pen.Color = caption_->MinMaxButtonColor();
            canvas.Brush.Color = caption_->MinMaxButtonColor();
            canvas.Polygon(points, 3);
        }
    }
}

void TCustomMarkupPanel::DrawSizeGrip(TCanvas& canvas)
{
    TRect r = ClientRect();
    if (BevelInner != bvNone || BevelOuter != bvNone)
        r = {r.Left + 2 * BevelWidth, r.Top + 2 * BevelWidth, r.Right - 2 * BevelWidth, r.Bottom - 2 * BevelWidth};
    if (borderShadow_) {
        r.Right -= 4;
        r.Bottom -= 4;
    }
    auto line = [&](int width, TColor color, int a, int b) {
        canvas.Pen.Width = width;
        canvas.Pen.Color = color;
        canvas.MoveTo(r.Right, r.Bottom - a);
        canvas.LineTo(r.Right - b, r.Bottom);
    };
    line(2, clGray, 11, 11);
    line(2, clGray, 6, 7);
    line(2, clGray, 3, 3);
    line(1, clWhite, 12, 12);
    line(1, clWhite, 8, 8);
    line(1, clWhite, 4, 4);
}

void TCustomMarkupPanel::DrawCaptionBackground(TCanvas& canvas, const TRect& r)
{
    const TShadeType type = caption_->ShadeType();
    if (type == stXPCaption && ThemeActive()) {
        DrawThemed(this, canvas, 1, {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
        return;
    }
    TBitmap& b = caption_->Background();
    if ((type == stBitmap || type == stBitmapRStretch || type == stBitmapLStretch) && !b.Empty()) {
        if (type == stBitmap) {
            canvas.StretchDraw(r, b);
        } else if (type == stBitmapRStretch) {
            canvas.Draw(r.Left, r.Top, b);
            if (r.Left + b.Width() < r.Right && b.Width() >= 3)
                canvas.CopyRect({r.Left + b.Width(), r.Top, r.Right, r.Top + b.Height()}, b.Canvas(),
                                {b.Width() - 3, 0, b.Width(), b.Height()});
        } else {
            const int x = r.Left + std::max(0, Width() - b.Width());
            canvas.Draw(x, r.Top, b);
            if (x > 0 && b.Width() >= 2)
                canvas.CopyRect({0, r.Top, x, r.Top + b.Height()}, b.Canvas(), {0, 0, 2, b.Height()});
        }
        return;
    }
    canvas.Pen.Width = 1;
    switch (caption_->Shape()) {
    case csRectangle: {
        TRect c = r;
        if (!caption_->Flat()) {
            canvas.Pen.Color = clGray;
            canvas.MoveTo(c.Left, c.Bottom - 1);
            canvas.LineTo(c.Right - 1, c.Bottom - 1);
            canvas.LineTo(c.Right - 1, c.Top);
            canvas.Pen.Color = clWhite;
            canvas.LineTo(c.Left, c.Top);
            canvas.LineTo(c.Left, c.Bottom - 1);
            c = {c.Left + 1, c.Top + 1, c.Right - 1, c.Bottom - 1};
        }
        canvas.SetClipRect(c);
        canvas.Draw(r.Left, r.Top, *shade_);
        break;
    }
    case csRounded:
        RoundedOutline(canvas, r);
        canvas.Pen.Color = clGray;
        canvas.MoveTo(r.Left + 16, r.Bottom - 1);
        canvas.LineTo(r.Right - 16, r.Bottom - 1);
        ClipToRoundRect(canvas, {r.Left, r.Top + 1, r.Right, r.Bottom}, 32, 32);
        canvas.Draw(r.Left, r.Top, *shade_);
        break;
    case csSemiRounded: {
        RoundedOutline(canvas, r);
        canvas.Pen.Color = clWhite;
        canvas.MoveTo(r.Left + r.Width() / 2, r.Top);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Left, r.Bottom - 1);
        canvas.Pen.Color = clGray;
        canvas.LineTo(r.Right - 16, r.Bottom - 1);
        // Square at the left end, rounded at the right: the union of the two, one after the other.
        const TRect c{r.Left + 1, r.Top + 1, r.Right, r.Bottom};
        ClipToRoundRect(canvas, c, 32, 32);
        canvas.Draw(r.Left, r.Top, *shade_);
        canvas.SetClipRect({c.Left, c.Top, c.Right - r.Width() / 2, c.Bottom - 1});
        canvas.Draw(r.Left, r.Top, *shade_);
        break;
    }
    }
    canvas.ClearClip();
}

void TCustomMarkupPanel::RoundedOutline(TCanvas& canvas, const TRect& r)
{
    // Grey below the middle, white above it, like light from the top.
    const int middle = r.Top + r.Height() / 2;
    canvas.Brush.Style = bsClear;
    canvas.Pen.Color = clGray;
    canvas.SetClipRect({r.Left, middle, r.Right, r.Bottom});
    RoundRect(canvas, r, 32, 32);
    canvas.Pen.Color = clWhite;
    canvas.SetClipRect({r.Left, r.Top, r.Right, middle});
    RoundRect(canvas, r, 32, 32);
    canvas.ClearClip();
    canvas.Brush.Style = bsSolid;
}
