#include "HtmlRenderer.h"

#include "Forms.h"
#include "HtmlTextUtils.h"

THtmlRenderer::THtmlRenderer(TCanvas& canvas, const TRect& rect, const THtmlDrawArgs& args, THtmlDrawResults& out)
    : canvas_(canvas), rect_(rect), a_(args), out_(out), ppi_(Screen()->PixelsPerInch())
{
    base_.Assign(canvas.Font);
    measureFont_.Assign(canvas.Font);
    secondFont_.Assign(canvas.Font);
    entryBrush_ = canvas.Brush.Color;
    flags_ = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    if (!args.wordWrap)
        flags_ |= DT_END_ELLIPSIS;
}

bool THtmlRenderer::Run(const String& markup)
{
    // The brush colour is the text background: none until a tag sets one.
    TPen entryPen;
    entryPen.Assign(canvas_.Pen);
    TBrushStyle entryBrushStyle = canvas_.Brush.Style;
    canvas_.Brush.Color = clNone;
    canvas_.Brush.Style = bsSolid;
    out_.textWidth = out_.textHeight = out_.linkCount = 0;
    out_.plainText.clear();
    out_.focusAnchor.clear();
    out_.hoveredLink = -1;

    String text = DecodeEntities(markup);
    size_t hash = text.find("<#");
    if (hash != String::npos) {
        text.erase(hash, 1);
        size_t gt = text.find('>', hash);
        if (gt != String::npos)
            text.erase(gt, 1);
    }
    String lines;
    lines.reserve(text.size());
    for (char c : text) {
        if (c == '\r')
            lines += "<BR>";
        else if (c != '\n')
            lines += c;
    }
    text.swap(lines);

    int minLineHeight = canvas_.TextHeight("gh");
    bool onAnchor = false;
    TRect lineRect = rect_;
    lineRect.Left += 1;
    while (!text.empty()) {
        // Measuring pass: cuts the line off the text.
        canvas_.Font.Assign(measureFont_);
        bool wasInAnchor = inAnchor_, wasHovered = anchorHovered_, wasStyled = anchorStyled_;
        String wasAnchor = anchor_;
        TRect wasHoverRect = hoverRect_;
        Flags wasFlags = f_;
        int links = out_.linkCount, level = listLevel_, images = imageCount_;
        ascent_ = descent_ = baselineOffset_ = 0;
        lineHeight_ = canvas_.TextHeight("gh");
        size_t before = text.size();
        String line = RenderLine(text, lineRect, false, true);
        int width = lineWidth_;
        measureFont_.Assign(canvas_.Font);
        inAnchor_ = wasInAnchor;
        anchor_ = wasAnchor;
        // An anchor the drawing pass styled on the line before is still styled: its closing
        // tag must take the underline and hover colours off again.
        anchorStyled_ = wasStyled;
        if (text.size() == before)
            text.clear();  // nothing could be laid out: never loop on the same text
        lineHeight_ += a_.lineSpacing;

        int x = lineRect.Left;
        if (align_ == 1) {
            if (lineRect.Right - width > lineRect.Left)
                x = lineRect.Right - width;
        } else if (align_ == 2) {
            int free = lineRect.Right - lineRect.Left - width;
            if (free > 0)
                x = lineRect.Left + free / 2;
        }
        x += indent_;
        TRect drawRect{x, lineRect.Top, lineRect.Right, lineRect.Top + lineHeight_ + ascent_ + descent_};

        if (!a_.measureOnly) {
            // Second pass over the same line: draws it, or only hit-tests it.
            canvas_.Font.Assign(secondFont_);
            out_.linkCount = links;
            listLevel_ = level;
            imageCount_ = images;
            anchorHovered_ = wasHovered;
            hoverRect_ = wasHoverRect;
            f_ = wasFlags;
            RenderLine(line, drawRect, !a_.hitTestOnly, false);
            secondFont_.Assign(canvas_.Font);
            int bottom = drawRect.Bottom - baselineOffset_;
            int gh = canvas_.TextHeight("gh");
            if (imageHit_ || (textHit_ && a_.y > bottom - gh && a_.y < bottom))
                onAnchor = true;
        }
        int height = lineHeight_ + ascent_ + descent_;
        lineRect.Top += height;
        out_.textHeight += height;
        if (!a_.measureOnly && lineRect.Top + minLineHeight > rect_.Bottom)
            text.clear();
    }
    canvas_.Font.Assign(base_);
    if (out_.textHeight == 0)
        out_.textHeight = canvas_.TextHeight("gh");
    canvas_.Brush.Color = entryBrush_;
    canvas_.Brush.Style = entryBrushStyle;
    canvas_.Pen.Assign(entryPen);
    return onAnchor;
}

bool HtmlDrawText(TCanvas& Canvas, const String& Text, const TRect& Rect, TImageList* Images, int X, int Y,
                  int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool PrintMode,
                  bool Selected, bool BlinkVisible, bool HoverStyle, bool WordWrap, double Scale, TColor URLColor,
                  TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, String& AnchorUnderMouse,
                  String& PlainText, String& FocusAnchor, int& TextWidth, int& TextHeight, int& LinkCount,
                  int& HoveredLink, TRect& HoveredRect, TMarkupImageSource* PictureCache,
                  TMarkupImageSource* PictureStore, int LineSpacing)
{
    THtmlDrawArgs args;
    args.images = Images;
    args.x = X;
    args.y = Y;
    args.focusLink = FocusLink;
    args.hoverLink = HoverLink;
    args.shadowOffset = ShadowOffset;
    args.hitTestOnly = HitTestOnly;
    args.measureOnly = MeasureOnly;
    args.printMode = PrintMode;
    args.selected = Selected;
    args.blinkVisible = BlinkVisible;
    args.hoverStyle = HoverStyle;
    args.wordWrap = WordWrap;
    args.scale = Scale;
    args.urlColor = URLColor;
    args.hoverColor = HoverColor;
    args.hoverFontColor = HoverFontColor;
    args.shadowColor = ShadowColor;
    args.pictureCache = PictureCache;
    args.pictureStore = PictureStore;
    args.lineSpacing = LineSpacing;
    THtmlDrawResults out{AnchorUnderMouse, PlainText, FocusAnchor, TextWidth, TextHeight, LinkCount, HoveredLink,
                         HoveredRect};
    THtmlRenderer renderer(Canvas, Rect, args, out);
    return renderer.Run(Text);
}
