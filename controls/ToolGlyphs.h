#pragma once
// The small pictures of tool buttons and menus, drawn rather than shipped: each is drawn on a
// bitmap whose untouched pixels carry the mask colour and then added to an image list masked by it.
#include "ImgList.h"

#include <functional>

namespace glyphs {
constexpr TColor kMask = clFuchsia;
constexpr TColor kInk = 0x404040;
constexpr TColor kBlue = 0xC07830;
constexpr TColor kPaper = 0xF4F4F4;
constexpr TColor kRed = 0x3030D0;
constexpr TColor kGreen = 0x40A040;
constexpr TColor kGold = 0x30B8E8;

// Draws a size x size picture and adds it to the list (which scales it to its own size). A quiet
// picture keeps a third of its colour: the look of a flat tool button the pointer is not on.
void Add(TImageList& list, int size, const std::function<void(TCanvas&, int)>& draw, bool quiet = false);

void Box(TCanvas& c, int l, int t, int r, int b, TColor fill, TColor pen = kInk);
// A disc with its hole (see-through).
void Disc(TCanvas& c, int l, int t, int r, int b);
void Line(TCanvas& c, int x1, int y1, int x2, int y2, TColor color, int width = 1);
// A triangle pointing right or left across the picture.
void Arrow(TCanvas& c, int size, bool right, TColor color);
}  // namespace glyphs
