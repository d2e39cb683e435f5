#pragma once
// One HtmlDrawText call with named options and its results, for the renderer's tests.
#include "FixedTextMetrics.h"
#include "HtmlRenderer.h"

struct TMarkupCall {
    THtmlDrawArgs args;
    String anchorUnderMouse, plainText, focusAnchor;
    int textWidth = -1, textHeight = -1, linkCount = -1, hoveredLink = -2;
    TRect hoveredRect{-9, -9, -9, -9};
    bool onAnchor = false;

    TMarkupCall() { args.x = args.y = -100; }

    bool Run(TCanvas& canvas, const String& text, const TRect& r)
    {
        onAnchor = HtmlDrawText(canvas, text, r, args.images, args.x, args.y, args.focusLink, args.hoverLink,
                                args.shadowOffset, args.hitTestOnly, args.measureOnly, args.printMode, args.selected,
                                args.blinkVisible, args.hoverStyle, args.wordWrap, args.scale, args.urlColor,
                                args.hoverColor, args.hoverFontColor, args.shadowColor, anchorUnderMouse, plainText,
                                focusAnchor, textWidth, textHeight, linkCount, hoveredLink, hoveredRect,
                                args.pictureCache, args.pictureStore, args.lineSpacing);
        return onAnchor;
    }
};

// A canvas with no device that measures with fixed metrics and records what it draws.
struct TFixedCanvas {
    TCanvas canvas;
    TFixedTextMetrics metrics;
    TFixedCanvas() { canvas.SetTextMetrics(&metrics); }
    const std::vector<TFixedTextMetrics::Run>& Drawn() const { return metrics.drawn; }
};
