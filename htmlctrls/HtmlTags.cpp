#include "HtmlRenderer.h"

#include "HtmlColors.h"
#include "HtmlGradient.h"
#include "HtmlTextUtils.h"

#include <algorithm>

namespace {
// Mark-up also comes from servers: numbers are held to ranges that keep drawing sane.
constexpr int kMaxFontPoints = 200;
constexpr int kMaxPixels = 32767;
constexpr int kMaxListLevel = 64;

char At(const String& s, size_t i) { return i < s.size() ? s[i] : '\0'; }
}  // namespace

THtmlRenderer::TagEffect THtmlRenderer::Tag(const String& tag, const TRect& r)
{
    String upper = UpperCase(tag);
    if (At(upper, 1) == '/')
        return ClosingTag(upper, r);
    return OpeningTag(tag, upper, r);
}

THtmlRenderer::TagEffect THtmlRenderer::OpeningTag(const String& tag, const String& upper, const TRect& r)
{
    char second = At(upper, 2);
    switch (At(upper, 1)) {
    case 'A':
        OpenAnchor(tag, r);
        break;
    case 'B':
        if (second == '>') {
            SetStyle(fsBold, true);
        } else if (second == 'L') {
            if (!a_.blinkVisible)
                canvas_.Font.SetColor(entryBrush_);
        } else if (second == 'O') {
            if (draws_ && !a_.selected)
                BodyTag(tag, upper);
        } else if (second == 'R') {
            if (measuring_)
                out_.plainText += "\r";
            return TagEffect::EndLineAfter;
        }
        break;
    case 'E':
        f_.errorLine = true;
        break;
    case 'F':
        FontTag(upper);
        break;
    case 'H':
        if (second == 'I') {
            if (draws_) {
                hiBrushSaved_ = canvas_.Brush.Color;
                hiFontSaved_ = canvas_.Font.Color();
                canvas_.Brush.Color = clHighlight;
                canvas_.Font.SetColor(clHighlightText);
            }
        } else if (second == 'R') {
            if (draws_) {
                canvas_.Pen.Color = clBlack;
                canvas_.Pen.Width = 1;
                canvas_.Pen.Style = psSolid;
                canvas_.MoveTo(r.Left, baseBottom_ + 1);
                canvas_.LineTo(r.Right, baseBottom_ + 1);
            }
            return TagEffect::EndLineAfter;
        }
        break;
    case 'I':
        if (second == '>') {
            SetStyle(fsItalic, true);
        } else if (second == 'M') {
            return ImageTag(tag, upper, r);
        } else if (second == 'N') {
            String value;
            if (TagAttribute(upper, tag, "X", value)) {
                int n = LeadingNumber(value, 0, kMaxPixels, 0);
                if (draws_) {
                    if (curX_ - r.Left < n)
                        curX_ = r.Left + n;
                } else if (lineWidth_ < n) {
                    lineWidth_ = n;
                }
            }
        }
        break;
    case 'L':
        return ListItem(r);
    case 'P':
        ParagraphTag(upper, r);
        break;
    case 'R': {
        String value;
        if (TagAttribute(upper, tag, "A", value))
            canvas_.Font.SetOrientation((LeadingNumber(value, 0, kMaxPixels, 0) % 360) * 10);
        break;
    }
    case 'S':
        if (second == '>')
            SetStyle(fsStrikeOut, true);
        else if (second == 'H')
            f_.shadow = true;
        else if (StartsWithNoCase(upper, "<SUB>"))
            f_.sub = true;
        else if (StartsWithNoCase(upper, "<SUP>"))
            f_.sup = true;
        break;
    case 'U':
        if (second == '>') {
            SetStyle(fsUnderline, true);
            break;
        }
        listLevel_ = std::min(listLevel_ + 1, kMaxListLevel);
        return TagEffect::EndLineAfter;
    case 'Z':
        f_.hidden = true;
        break;
    default:
        break;
    }
    return TagEffect::None;
}

THtmlRenderer::TagEffect THtmlRenderer::ClosingTag(const String& upper, const TRect& r)
{
    char second = At(upper, 3);
    switch (At(upper, 2)) {
    case 'A':
        CloseAnchor(r);
        break;
    case 'B':
        if (second == '>')
            SetStyle(fsBold, false);
        else
            canvas_.Font.SetColor(base_.Color());
        break;
    case 'E':
        f_.errorLine = false;
        break;
    case 'F':
        canvas_.Font.SetName(base_.Name());
        canvas_.Font.SetHeight(base_.Height());
        if (draws_ && !a_.selected) {
            canvas_.Font.SetColor(base_.Color());
            canvas_.Brush.Color = fontBgSaved_;
            fontBgSaved_ = clNone;
        }
        break;
    case 'H':
        if (draws_) {
            canvas_.Brush.Color = hiBrushSaved_;
            canvas_.Font.SetColor(hiFontSaved_);
        }
        break;
    case 'I':
        SetStyle(fsItalic, false);
        break;
    case 'L':
        return TagEffect::EndLineAfter;
    case 'P':
        if (draws_) {
            canvas_.Brush.Color = parBrushSaved_;
            parBackground_ = false;
        }
        return TagEffect::EndLineAfter;
    case 'R':
        canvas_.Font.SetOrientation(0);
        break;
    case 'S':
        if (second == '>') {
            SetStyle(fsStrikeOut, false);
        } else if (second == 'H') {
            f_.shadow = false;
        } else if (second == 'U') {
            f_.sub = false;
            f_.sup = false;
        }
        break;
    case 'U':
        if (second == '>')
            SetStyle(fsUnderline, false);
        else if (listLevel_ > 0)
            --listLevel_;
        else
            SetStyle(fsUnderline, false);
        break;
    case 'Z':
        f_.hidden = false;
        break;
    default:
        break;
    }
    return TagEffect::None;
}

void THtmlRenderer::OpenAnchor(const String& tag, const TRect& r)
{
    ++out_.linkCount;
    inAnchor_ = true;
    anchor_.clear();
    size_t open = tag.find('"');
    size_t close = open == String::npos ? String::npos : tag.find('"', open + 1);
    if (close != String::npos)
        anchor_ = tag.substr(open + 1, close - open - 1);
    int number = out_.linkCount;
    bool hoveredOne = a_.hoverStyle && number == a_.hoverLink;
    anchorStyled_ = draws_ && (!a_.hoverStyle || number == a_.hoverLink);
    if (anchorStyled_) {
        SetStyle(fsUnderline, true);
        if (a_.hoverColor != clNone) {
            anchorBrushSaved_ = canvas_.Brush.Color;
            canvas_.Brush.Color = a_.hoverColor;
        }
        if (a_.hoverFontColor != clNone) {
            anchorFontSaved_ = canvas_.Font.Color();
            canvas_.Font.SetColor(a_.hoverFontColor);
        }
    }
    if (!a_.selected && !(hoveredOne && a_.hoverFontColor != clNone))
        canvas_.Font.SetColor(a_.urlColor);
    anchorHovered_ = false;
    hoverRect_.Left = hoverRect_.Right = r.Left + lineWidth_;
    hoverRect_.Top = r.Top;
    if (draws_ && number - 1 == a_.focusLink) {
        focusOpen_ = true;
        focusLeft_ = curX_;
    }
}

void THtmlRenderer::CloseAnchor(const TRect& r)
{
    if (draws_ && anchorStyled_) {
        SetStyle(fsUnderline, false);
        if (a_.hoverColor != clNone)
            canvas_.Brush.Color = anchorBrushSaved_;
        if (a_.hoverFontColor != clNone)
            canvas_.Font.SetColor(anchorFontSaved_);
    }
    anchorStyled_ = false;
    if (!a_.selected)
        canvas_.Font.SetColor(base_.Color());
    if (anchorHovered_) {
        // The area of every piece of the anchor, on whichever line it lies.
        out_.hoveredRect = {hoverRect_.Left, hoverRect_.Top, std::max(hoverRect_.Right, r.Left + lineWidth_),
                            LineBottom(r)};
        out_.hoveredLink = out_.linkCount;
        anchorHovered_ = false;
    }
    if (draws_ && focusOpen_) {
        DrawFocus(r);
        focusOpen_ = false;
    }
    inAnchor_ = false;
}

void THtmlRenderer::FontTag(const String& upper)
{
    String value;
    if (TagAttribute(upper, upper, "FACE", value))
        canvas_.Font.SetName(value);
    if (!a_.selected && TagAttribute(upper, upper, " COLOR", value))
        canvas_.Font.SetColor(HtmlColorByName(value));
    if (draws_ && !a_.selected && TagAttribute(upper, upper, "BGCOLOR", value)) {
        fontBgSaved_ = canvas_.Brush.Color;
        canvas_.Brush.Color = HtmlColorByName(value);
    }
    if (TagAttribute(upper, upper, "SIZE", value)) {
        static const int kSizes[] = {8, 10, 12, 14, 16};
        int n = LeadingNumber(value, 0, kMaxFontPoints, -1);
        if (n >= 1 && n <= 5)
            canvas_.Font.SetSize(kSizes[n - 1]);
        else if (n >= 1)
            canvas_.Font.SetSize(n);
    }
}

void THtmlRenderer::BodyTag(const String& tag, const String& upper)
{
    String value;
    if (TagAttribute(upper, tag, "BACKGROUND", value)) {
        TMarkupImage* image = nullptr;
        try {
            if (value.find("://") != String::npos)
                image = a_.pictureCache ? a_.pictureCache->FindImage(value) : nullptr;
            else if (value.find(':') == String::npos)
                image = a_.pictureStore ? a_.pictureStore->FindImage(value) : nullptr;
            if (!image || image->IsEmpty())
                return;
            int w = image->DisplayWidth(), h = image->DisplayHeight();
            if (w < 1 || h < 1)
                return;
            bool clipped = canvas_.HasClip();
            TRect keep = canvas_.ClipRect();
            TRect area = rect_;
            if (clipped && !IntersectRect(area, rect_, keep))
                return;
            canvas_.SetClipRect(area);
            for (int y = rect_.Top; y < rect_.Bottom; y += h)
                for (int x = rect_.Left; x < rect_.Right; x += w)
                    image->DrawImage(canvas_, Bounds(x, y, w, h), false);
            if (clipped)
                canvas_.SetClipRect(keep);
            else
                canvas_.ClearClip();
        } catch (const std::exception&) {
            // A picture that cannot be shown leaves the background as it is.
        }
        return;
    }
    if (!TagAttribute(upper, upper, "BGCOLOR", value))
        return;
    TColor from = HtmlColorByName(value);
    String to;
    if (TagAttribute(upper, upper, "BGCOLORTO", to)) {
        String dir = "H";
        TagAttribute(upper, upper, "DIR", dir);
        HtmlGradientRect(canvas_, from, HtmlColorByName(to), dir == "H", rect_, 64, clNone);
        canvas_.Brush.Color = clNone;
        canvas_.Brush.Style = bsSolid;
        return;
    }
    canvas_.Brush.Color = from;
    canvas_.FillRect({rect_.Left - 2, rect_.Top, rect_.Right, rect_.Bottom});
}

void THtmlRenderer::ParagraphTag(const String& upper, const TRect& r)
{
    String value;
    if (TagAttribute(upper, upper, "ALIGN", value)) {
        if (value.find("RIGHT") != String::npos)
            align_ = 1;
        if (value.find("LEFT") != String::npos)
            align_ = 0;
        if (value.find("CENTER") != String::npos)
            align_ = 2;
    }
    if (TagAttribute(upper, upper, "INDENT", value))
        indent_ = LeadingNumber(value, 0, kMaxPixels, 0);
    if (!draws_ || !TagAttribute(upper, upper, "BGCOLOR", value))
        return;
    TColor color = HtmlColorByName(value);
    parBrushSaved_ = canvas_.Brush.Color;
    String to;
    if (TagAttribute(upper, upper, "BGCOLORTO", to)) {
        HtmlGradientRect(canvas_, color, HtmlColorByName(to), true,
                         {rect_.Left, r.Top, rect_.Right, r.Top + lineHeight_ + 2}, 64, clNone);
        canvas_.Brush.Style = bsSolid;
        canvas_.Brush.Color = parBrushSaved_;
        return;
    }
    canvas_.Brush.Color = color;
    parBackground_ = true;
    FillBand(r);
}
