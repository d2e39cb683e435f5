#pragma once
// The pictures of the main window's image lists, drawn at start-up.
#include "ImgList.h"

// ImageList2 (16 x 16): layout icons 0 to 4, then menu and batch glyphs.
enum {
    kIconDiscLabel = 0, kIconDvdCase = 1, kIconCdFront = 2, kIconCdBack = 3, kIconCustom = 4,
    kIconFlipVertical = 5, kIconFlipHorizontal = 6, kIconRotate = 7, kIconSharpen = 8, kIconTrackList = 9,
    kIconPrevious = 10, kIconNext = 11, kIconDoubleFeature = 12,
};

// ImageList3 (20 x 20): the main tool bar.
enum {
    kGlyphOpen, kGlyphRemove, kGlyphEffects, kGlyphAddLayout, kGlyphEditLayout, kGlyphPreview,
    kGlyphPrint, kGlyphPrintSetup, kGlyphHome, kGlyphHelp, kGlyphClose,
};

void DrawLayoutIcons(TImageList& list);
void DrawToolBarGlyphs(TImageList& list);
