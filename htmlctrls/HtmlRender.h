#pragma once
// The mark-up renderer: lays out, draws, measures and hit-tests one mark-up text in a rectangle.
#include "Graphics.h"
#include "ImgList.h"
#include "MarkupImage.h"

// Draws Text into Rect on Canvas (its font is the text's base font, its brush colour the
// background), or with MeasureOnly only measures it, or with HitTestOnly lays it out without
// drawing to find the anchor under (X, Y). Returns whether (X, Y) is on an anchor.
// Images come from Images ("idx:" sources), PictureCache (addresses) and PictureStore (names).
// AnchorUnderMouse is only ever set, never cleared; the other outputs are reset at entry.
// PlainText holds each run of text once, as the measuring pass meets it, whatever the mode.
bool HtmlDrawText(TCanvas& Canvas, const String& Text, const TRect& Rect, TImageList* Images, int X, int Y,
                  int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool PrintMode,
                  bool Selected, bool BlinkVisible, bool HoverStyle, bool WordWrap, double Scale, TColor URLColor,
                  TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, String& AnchorUnderMouse,
                  String& PlainText, String& FocusAnchor, int& TextWidth, int& TextHeight, int& LinkCount,
                  int& HoveredLink, TRect& HoveredRect, TMarkupImageSource* PictureCache,
                  TMarkupImageSource* PictureStore, int LineSpacing);
