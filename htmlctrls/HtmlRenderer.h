#pragma once
// The state of one HtmlDrawText call, shared by the entry, the line routine and the tags.
#include "HtmlRender.h"

struct THtmlDrawArgs {
    TImageList* images = nullptr;
    int x = 0, y = 0;
    int focusLink = -1, hoverLink = -1, shadowOffset = 0;
    bool hitTestOnly = false, measureOnly = false, printMode = false, selected = false;
    bool blinkVisible = true, hoverStyle = false, wordWrap = true;
    double scale = 1.0;
    TColor urlColor = clBlue, hoverColor = clNone, hoverFontColor = clNone, shadowColor = clGray;
    TMarkupImageSource* pictureCache = nullptr;
    TMarkupImageSource* pictureStore = nullptr;
    int lineSpacing = 0;
};

struct THtmlDrawResults {
    String& anchorUnderMouse;
    String& plainText;
    String& focusAnchor;
    int& textWidth;
    int& textHeight;
    int& linkCount;
    int& hoveredLink;
    TRect& hoveredRect;
};

class THtmlRenderer {
public:
    THtmlRenderer(TCanvas& canvas, const TRect& rect, const THtmlDrawArgs& args, THtmlDrawResults& out);
    bool Run(const String& text);

private:
    enum class TagEffect { None, EndLineAfter, EndLineBefore };

    // One pass over a line: takes the line's text off the front of text and returns it.
    String RenderLine(String& text, const TRect& r, bool draws, bool measuring);
    TagEffect TextPiece(String& text, String& line, const TRect& r);
    TagEffect Tag(const String& tag, const TRect& r);
    TagEffect OpeningTag(const String& tag, const String& upper, const TRect& r);
    TagEffect ClosingTag(const String& upper, const TRect& r);
    void OpenAnchor(const String& tag, const TRect& r);
    void CloseAnchor(const TRect& r);
    void FontTag(const String& upper);
    void BodyTag(const String& tag, const String& upper);
    void ParagraphTag(const String& upper, const TRect& r);
    TagEffect ImageTag(const String& tag, const String& upper, const TRect& r);
    TagEffect ListItem(const TRect& r);
    void DrawPiece(const String& piece, const TRect& r);
    void DrawErrorLine(int left, int right);
    void DrawFocus(const TRect& r);
    void FillBand(const TRect& r);
    void SetStyle(TFontStyle style, bool on);
    int CurrentX(const TRect& r) const { return draws_ ? curX_ : r.Left + lineWidth_; }
    int LineBottom(const TRect& r) const { return r.Top + lineHeight_ + ascent_ + descent_; }
    int GhHeight() { return canvas_.TextHeight("gh"); }

    TCanvas& canvas_;
    const TRect rect_;
    const THtmlDrawArgs& a_;
    THtmlDrawResults& out_;
    int ppi_;

    TFont base_, measureFont_, secondFont_;
    TColor entryBrush_;
    unsigned flags_;

    // Anchors.
    bool inAnchor_ = false;
    String anchor_;
    bool anchorStyled_ = false;
    bool anchorHovered_ = false;
    TRect hoverRect_{};
    bool focusOpen_ = false;
    int focusLeft_ = 0;

    // Switches of the tags.
    struct Flags {
        bool sub = false, sup = false, hidden = false, shadow = false, errorLine = false;
    } f_;
    bool parBackground_ = false;
    TColor fontBgSaved_ = clNone, hiBrushSaved_ = clNone, hiFontSaved_ = clNone;
    TColor anchorBrushSaved_ = clNone, anchorFontSaved_ = clNone, parBrushSaved_ = clNone;
    int listLevel_ = 0;
    int imageCount_ = 0;
    int hoveredImage_ = -1;

    // The line.
    int align_ = 0, indent_ = 0;
    int lineWidth_ = 0, lineHeight_ = 0, ascent_ = 0, descent_ = 0, baselineOffset_ = 0;

    // The pass.
    bool draws_ = false, measuring_ = false;
    bool textHit_ = false, imageHit_ = false;
    int curX_ = 0;
    int baseBottom_ = 0;
    int itemsOnLine_ = 0;
    bool placedText_ = false, lastEndsInBlank_ = false;
    bool dropRest_ = false;
};
