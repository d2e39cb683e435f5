#include "HtmlRenderer.h"

#include "HtmlTextUtils.h"

#include <algorithm>

String THtmlRenderer::RenderLine(String& text, const TRect& r, bool draws, bool measuring)
{
    String line;
    draws_ = draws;
    measuring_ = measuring;
    lineWidth_ = 0;
    textHit_ = imageHit_ = false;
    curX_ = r.Left;
    baseBottom_ = r.Bottom - descent_;
    itemsOnLine_ = 0;
    placedText_ = lastEndsInBlank_ = false;
    dropRest_ = false;
    if (parBackground_ && draws)
        FillBand(r);
    if (inAnchor_) {
        // An anchor carried over from the line before: its focus frame starts at this line's
        // left, and its area takes in this line's piece as well as the ones before.
        hoverRect_.Left = std::min(hoverRect_.Left, r.Left);
        focusLeft_ = r.Left + 1;
    }
    bool ended = false;
    while (!text.empty() && !ended) {
        TagEffect effect;
        if (text[0] != '<') {
            effect = TextPiece(text, line, r);
        } else {
            if (text.size() < 3) {
                text.clear();
                break;
            }
            size_t gt = text.find('>');
            if (gt == String::npos) {
                text.clear();
                break;
            }
            String tag = text.substr(0, gt + 1);
            effect = Tag(tag, r);
            if (effect != TagEffect::EndLineBefore) {
                line += tag;
                text.erase(0, gt + 1);
            }
        }
        if (effect != TagEffect::None)
            ended = true;
        if (dropRest_)
            text.clear();
    }
    // The anchor wraps here; its piece on this line ends with the blank drawn at the line's end.
    if (inAnchor_ && !draws)
        hoverRect_.Right = std::max(hoverRect_.Right, r.Left + lineWidth_);
    if (lastEndsInBlank_ && !draws)
        lineWidth_ -= canvas_.TextWidth(" ");
    out_.textWidth = std::max(out_.textWidth, lineWidth_);
    if (focusOpen_ && draws)
        DrawFocus(r);
    return line;
}

THtmlRenderer::TagEffect THtmlRenderer::TextPiece(String& text, String& line, const TRect& r)
{
    size_t length = std::min(text.find('<'), text.size());
    if (a_.wordWrap) {
        size_t blank = text.find(' ');
        if (blank != String::npos && blank < length)
            length = blank + 1;
    }
    String raw = text.substr(0, length);
    String piece = DecodeRunEntities(raw);
    int width = 0;
    if (!draws_ && !f_.hidden) {
        TRect calc{r.Left + lineWidth_, r.Top, r.Right, r.Bottom};
        canvas_.DrawText(piece, calc, flags_ | DT_CALCRECT);
        width = calc.Width();
        if (measuring_ && a_.wordWrap) {
            bool fits = lineWidth_ + width < r.Width() || width >= r.Width() || (placedText_ && !lastEndsInBlank_);
            if (!fits)
                return TagEffect::EndLineBefore;  // the piece starts the next line
        } else if (measuring_ && placedText_) {
            // Whether it fits is a question for the whole run, not for its shortened form. A run
            // that does not fit ends the line in its ellipsis, and the text with it.
            TRect whole = calc;
            canvas_.DrawText(piece, whole, (flags_ & ~DT_END_ELLIPSIS) | DT_CALCRECT);
            if (lineWidth_ + whole.Width() > r.Width()) {
                dropRest_ = true;
                if (lineWidth_ >= r.Width())
                    return TagEffect::EndLineBefore;  // no room left even for the ellipsis
            }
        }
    }
    int height = canvas_.TextHeight(piece);
    if (f_.sub)
        descent_ = std::max(descent_, height / 4);
    if (f_.sup)
        ascent_ = std::max(ascent_, height / 4);
    lineHeight_ = std::max(lineHeight_, height);
    if (measuring_)
        out_.plainText += piece;
    if (f_.hidden) {
        text.erase(0, length);
        return TagEffect::None;
    }
    if (!draws_) {
        int relative = a_.x - r.Left;
        if (inAnchor_ && relative >= lineWidth_ && relative < lineWidth_ + width) {
            textHit_ = true;
            // Only when the point is on this line, not merely in the same column.
            if (a_.y > r.Top && a_.y < LineBottom(r)) {
                out_.anchorUnderMouse = anchor_;
                anchorHovered_ = true;
            }
        }
        lineWidth_ += width;
    } else {
        DrawPiece(piece, r);
    }
    line += raw;
    text.erase(0, length);
    placedText_ = true;
    lastEndsInBlank_ = !piece.empty() && piece.back() == ' ';
    return TagEffect::None;
}

void THtmlRenderer::DrawPiece(const String& piece, const TRect& r)
{
    TRect pr{curX_, r.Top, r.Right, baseBottom_};
    if (f_.sup)
        pr.Bottom -= ascent_;
    if (f_.sub)
        pr.Bottom += descent_;
    pr.Bottom -= baselineOffset_;
    unsigned flags = flags_ & ~DT_EXTERNALLEADING;
    if (canvas_.Font.Orientation() != 0)
        flags |= DT_NOCLIP;  // turned text leaves its piece's rectangle
    if (f_.shadow) {
        TRect sr = pr;
        OffsetRect(sr, a_.shadowOffset, a_.shadowOffset);
        TColor color = canvas_.Font.Color(), brush = canvas_.Brush.Color;
        canvas_.Font.SetColor(a_.shadowColor);
        canvas_.Brush.Color = clNone;
        canvas_.DrawText(piece, sr, flags);
        canvas_.Font.SetColor(color);
        canvas_.Brush.Color = brush;
    }
    canvas_.DrawText(piece, pr, flags);
    TRect calc = pr;
    canvas_.DrawText(piece, calc, flags | DT_CALCRECT);
    int right = curX_ + calc.Width();
    if (inAnchor_ && out_.linkCount - 1 == a_.focusLink)
        out_.focusAnchor = anchor_;
    if (f_.errorLine)
        DrawErrorLine(curX_, right);
    curX_ = right;
}

void THtmlRenderer::DrawErrorLine(int left, int right)
{
    int x = left - (((left % 2) + 2) % 2);
    int low = baseBottom_ + 1, high = baseBottom_ - 1;
    int y = ((x % 4) + 4) % 4 == 0 ? low : high;
    TColor keep = canvas_.Pen.Color;
    int keepWidth = canvas_.Pen.Width;
    canvas_.Pen.Color = clRed;
    canvas_.Pen.Width = 1;
    canvas_.MoveTo(x, y);
    while (x < right) {
        x += 2;
        y = y == low ? high : low;
        canvas_.LineTo(x, y);
    }
    canvas_.Pen.Color = keep;
    canvas_.Pen.Width = keepWidth;
}

void THtmlRenderer::DrawFocus(const TRect& r)
{
    int bottom = r.Bottom - baselineOffset_;
    TRect focus{focusLeft_ - 1, bottom - GhHeight(), curX_ + 1, bottom};
    canvas_.DrawFocusRect(focus);
}

void THtmlRenderer::FillBand(const TRect& r)
{
    TColor keep = canvas_.Pen.Color;
    canvas_.Pen.Color = canvas_.Brush.Color;
    TBrushStyle style = canvas_.Brush.Style;
    canvas_.Brush.Style = bsSolid;
    canvas_.Rectangle(rect_.Left, r.Top, rect_.Right, r.Top + lineHeight_);
    canvas_.Brush.Style = style;
    canvas_.Pen.Color = keep;
}

void THtmlRenderer::SetStyle(TFontStyle style, bool on)
{
    TFontStyles s = canvas_.Font.Style();
    canvas_.Font.SetStyle(on ? (s | style) : (s & ~static_cast<TFontStyles>(style)));
}
