#include "GlyphConsts.h"

#include "Controls.h"

namespace {

constexpr TColor Clear = clFuchsia;

// 32 x 32 pictures on the transparent colour, outlined in black and filled in white.
void ClearPicture(TCanvas& c)
{
    c.Brush.Color = Clear;
    c.FillRect({0, 0, 32, 32});
}

void OutlinedRect(TCanvas& c, const TRect& r)
{
    c.Brush.Color = clBlack;
    c.FillRect(r);
    c.Brush.Color = clWhite;
    c.FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
}

// A pointing hand: the index finger up, its tip at the hot spot.
void DrawHand(TCanvas& c)
{
    ClearPicture(c);
    OutlinedRect(c, {5, 0, 9, 12});
    OutlinedRect(c, {2, 10, 17, 21});
}

// An arrow with a small page under it.
void DrawDrag(TCanvas& c)
{
    ClearPicture(c);
    for (int row = 0; row < 12; ++row) {
        c.Brush.Color = clBlack;
        c.FillRect({0, row, row + 1, row + 1});
        if (row > 1) {
            c.Brush.Color = clWhite;
            c.FillRect({1, row, row, row + 1});
        }
    }
    OutlinedRect(c, {6, 14, 18, 24});
}

void Register(int slot, void (*draw)(TCanvas&), const TPoint& hotSpot)
{
    TBitmap picture(32, 32, pf24bit);
    draw(picture.Canvas());
    picture.Canvas().Release();
    SetScreenCursor(slot, picture, Clear, hotSpot);
}

}  // namespace

void RegisterGlyphCursors()
{
    Register(HandCursorSlot, DrawHand, {6, 0});
    Register(DragCursorSlot, DrawDrag, {0, 0});
}
