#include "Glyphs.h"

#include "ToolGlyphs.h"

using namespace glyphs;

void DrawLayoutIcons(TImageList& list)
{
    int s = list.Width;
    Add(list, s, [](TCanvas& c, int n) { Disc(c, 1, 1, n - 1, n - 1); });
    Add(list, s, [](TCanvas& c, int n) {  // DVD case: tall box with a spine
        Box(c, 3, 1, n - 3, n - 1, kBlue);
        Line(c, 5, 1, 5, n - 1, clWhite);
    });
    Add(list, s, [](TCanvas& c, int n) {  // CD front insert: square with a disc
        Box(c, 1, 2, n - 1, n - 2, kPaper);
        Disc(c, 4, 4, n - 4, n - 4);
    });
    Add(list, s, [](TCanvas& c, int n) {  // tray insert: wide box with spines on both sides
        Box(c, 0, 3, n, n - 3, kPaper);
        Line(c, 2, 3, 2, n - 3, kBlue);
        Line(c, n - 3, 3, n - 3, n - 3, kBlue);
        Line(c, 5, 7, n - 5, 7, kInk);
        Line(c, 5, 10, n - 5, 10, kInk);
    });
    Add(list, s, [](TCanvas& c, int n) {  // a page with a frame
        Box(c, 2, 1, n - 2, n - 1, clWhite);
        Box(c, 4, 4, n - 4, n - 6, kGold);
    });
    Add(list, s, [](TCanvas& c, int n) {  // flip vertical
        Box(c, 2, 1, n - 2, n / 2 - 1, kBlue);
        Box(c, 2, n / 2 + 1, n - 2, n - 1, kPaper);
        Line(c, 0, n / 2, n, n / 2, kRed);
    });
    Add(list, s, [](TCanvas& c, int n) {  // mirror
        Box(c, 1, 2, n / 2 - 1, n - 2, kBlue);
        Box(c, n / 2 + 1, 2, n - 1, n - 2, kPaper);
        Line(c, n / 2, 0, n / 2, n, kRed);
    });
    Add(list, s, [](TCanvas& c, int n) {  // rotate
        c.Brush.Style = bsClear;
        c.Pen.Color = kBlue;
        c.Pen.Width = 2;
        c.Ellipse(2, 2, n - 2, n - 2);
        c.Pen.Width = 1;
        TPoint head[3] = {{n - 6, 1}, {n - 1, 5}, {n - 7, 7}};
        c.Brush.Style = bsSolid;
        c.Brush.Color = kBlue;
        c.Polygon(head, 3);
    });
    Add(list, s, [](TCanvas& c, int n) {  // sharpen / soften: a diamond
        TPoint d[4] = {{n / 2, 1}, {n - 2, n / 2}, {n / 2, n - 2}, {1, n / 2}};
        c.Brush.Color = kGold;
        c.Polygon(d, 4);
    });
    Add(list, s, [](TCanvas& c, int n) {  // track list: a disc with lines
        Disc(c, 0, 0, n - 5, n - 5);
        Line(c, n - 7, n - 5, n, n - 5, kInk);
        Line(c, n - 7, n - 2, n, n - 2, kInk);
    });
    Add(list, s, [](TCanvas& c, int n) { Arrow(c, n, false, kGreen); });
    Add(list, s, [](TCanvas& c, int n) { Arrow(c, n, true, kGreen); });
    Add(list, s, [](TCanvas& c, int n) {  // double feature: two covers joined on the diagonal
        Box(c, 2, 1, n - 2, n - 1, kBlue);
        TPoint tri[3] = {{2, 1}, {2, n - 1}, {n - 2, n - 1}};
        c.Brush.Color = kGold;
        c.Polygon(tri, 3);
    });
}

void DrawToolBarGlyphs(TImageList& list)
{
    const int s = 24;  // drawn at 24 pixels, scaled to the list's size
    Add(list, s, [](TCanvas& c, int n) {  // open: a folder
        Box(c, 2, 6, n - 2, n - 3, kGold);
        Box(c, 2, 4, 10, 7, kGold);
        Box(c, 5, 10, n - 1, n - 3, 0x60D8F8);
    });
    Add(list, s, [](TCanvas& c, int n) {  // remove: a bin
        Box(c, 6, 7, n - 6, n - 2, kPaper);
        Box(c, 4, 4, n - 4, 7, clSilver);
        for (int x = 9; x < n - 7; x += 3)
            Line(c, x, 9, x, n - 4, kInk);
    });
    Add(list, s, [](TCanvas& c, int n) {  // effects: a star over a picture
        Box(c, 2, 6, n - 6, n - 2, kBlue);
        TPoint star[8] = {{17, 1}, {19, 7}, {n - 1, 9}, {19, 11}, {17, 17}, {15, 11}, {10, 9}, {15, 7}};
        c.Brush.Color = kGold;
        c.Polygon(star, 8);
    });
    Add(list, s, [](TCanvas& c, int n) {  // add layout
        Box(c, 3, 2, n - 7, n - 2, clWhite);
        Box(c, 6, 6, n - 10, n - 8, kBlue);
        Line(c, n - 7, 6, n - 7, 17, kGreen, 3);
        Line(c, n - 12, 11, n - 1, 11, kGreen, 3);
    });
    Add(list, s, [](TCanvas& c, int n) {  // edit layout: a page and a pencil
        Box(c, 3, 2, n - 5, n - 2, clWhite);
        Box(c, 6, 6, n - 8, n - 9, kBlue);
        Line(c, 9, n - 3, n - 2, 8, kGold, 3);
    });
    Add(list, s, [](TCanvas& c, int n) {  // preview: a page and a magnifier
        Box(c, 2, 2, n - 8, n - 4, clWhite);
        c.Brush.Color = 0xF8E0C0;
        c.Pen.Color = kInk;
        c.Pen.Width = 2;
        c.Ellipse(9, 8, 19, 18);
        Line(c, 17, 16, n - 1, n - 1, kInk, 3);
    });
    Add(list, s, [](TCanvas& c, int n) {  // print: a printer
        Box(c, 6, 2, n - 6, 10, clWhite);
        Box(c, 2, 9, n - 2, n - 6, clSilver);
        Box(c, 6, n - 8, n - 6, n - 1, clWhite);
        Line(c, 8, n - 5, n - 8, n - 5, kInk);
    });
    Add(list, s, [](TCanvas& c, int n) {  // printer setup: a printer with a cog
        Box(c, 2, 7, n - 6, n - 7, clSilver);
        Box(c, 5, 2, n - 9, 8, clWhite);
        c.Brush.Color = kGold;
        c.Pen.Color = kInk;
        c.Ellipse(n - 11, n - 11, n - 1, n - 1);
        c.Brush.Color = clSilver;
        c.Ellipse(n - 8, n - 8, n - 4, n - 4);
    });
    Add(list, s, [](TCanvas& c, int n) {  // web home: a house
        TPoint roof[3] = {{1, 11}, {n / 2, 2}, {n - 1, 11}};
        c.Brush.Color = kRed;
        c.Polygon(roof, 3);
        Box(c, 5, 11, n - 5, n - 2, kPaper);
        Box(c, 10, 15, 15, n - 2, kBlue);
    });
    Add(list, s, [](TCanvas& c, int n) {  // help: a question mark in a circle
        c.Brush.Color = kBlue;
        c.Pen.Color = kBlue;
        c.Ellipse(1, 1, n - 1, n - 1);
        // Drawn in strokes: a font here would be one more face to load before the first paint.
        const TPoint hook[8] = {{8, 9}, {8, 7}, {10, 5}, {14, 5}, {16, 7}, {16, 9}, {12, 12}, {12, 15}};
        c.Pen.Color = clWhite;
        c.Pen.Width = 3;
        c.Polyline(hook, 8);
        c.Pen.Width = 1;
        c.Brush.Color = clWhite;
        c.Ellipse(10, 17, 15, 22);
    });
    Add(list, s, [](TCanvas& c, int n) {  // close: a cross
        c.Brush.Color = kRed;
        c.Pen.Color = kRed;
        c.Ellipse(1, 1, n - 1, n - 1);
        Line(c, 7, 7, n - 7, n - 7, clWhite, 3);
        Line(c, n - 7, 7, 7, n - 7, clWhite, 3);
    });
}
