#include "FinderGlyphs.h"

#include "ToolGlyphs.h"

using namespace glyphs;

namespace {
// A sheet with ruled lines: the ini file and the track list.
void Sheet(TCanvas& c, int l, int t, int r, int b)
{
    Box(c, l, t, r, b, clWhite);
    for (int y = t + 3; y < b - 2; y += 3)
        Line(c, l + 2, y, r - 3, y, kBlue);
}

void Draw(TImageList& list, bool quiet)
{
    const int s = 16;
    Add(list, s, [](TCanvas& c, int n) {  // scan: a disc under a magnifier
        Disc(c, 0, 0, n - 3, n - 3);
        c.Brush.Color = 0xF8E0C0;
        c.Pen.Color = kInk;
        c.Pen.Width = 2;
        c.Ellipse(7, 7, 13, 13);
        Line(c, 12, 12, n - 1, n - 1, kInk, 2);
    }, quiet);
    Add(list, s, [](TCanvas& c, int n) {  // look up: a disc and a globe
        Disc(c, 0, 0, 11, 11);
        c.Brush.Color = kBlue;
        c.Pen.Color = kInk;
        c.Ellipse(6, 6, n, n);
        Line(c, 6, 11, n - 1, 11, kGreen);
        Line(c, 11, 6, 11, n - 1, kGreen);
    }, quiet);
    Add(list, s, [](TCanvas& c, int n) {  // clear: a list struck out
        Sheet(c, 1, 1, n - 4, n - 1);
        Line(c, 6, 6, n - 1, n - 1, kRed, 2);
        Line(c, n - 1, 6, 6, n - 1, kRed, 2);
    }, quiet);
    Add(list, s, [](TCanvas& c, int n) {  // write: a sheet and an arrow into it
        Sheet(c, 5, 3, n - 1, n - 1);
        Line(c, 0, 7, 8, 7, kGreen, 2);
        TPoint head[3] = {{7, 3}, {11, 7}, {7, 11}};
        c.Brush.Color = kGreen;
        c.Pen.Color = kGreen;
        c.Polygon(head, 3);
    }, quiet);
    Add(list, s, [](TCanvas& c, int n) {  // read: an arrow out of a sheet
        Sheet(c, 0, 3, n - 6, n - 1);
        Line(c, 7, 7, n - 4, 7, kBlue, 2);
        TPoint head[3] = {{n - 5, 3}, {n - 1, 7}, {n - 5, 11}};
        c.Brush.Color = kBlue;
        c.Pen.Color = kBlue;
        c.Polygon(head, 3);
    }, quiet);
    Add(list, s, [](TCanvas& c, int n) {  // close: a tick, the tracks taken
        Line(c, 2, 8, 6, 13, kGreen, 3);
        Line(c, 6, 13, n - 2, 2, kGreen, 3);
    }, quiet);
}
}  // namespace

void DrawFinderGlyphs(TImageList& images, TImageList& hotImages)
{
    Draw(images, true);
    Draw(hotImages, false);
}
