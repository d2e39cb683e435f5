// The flat border of popup-menu windows: a one-pixel frame with the icon gutter carried on
// to it, and a two-pixel shadow at the right and the bottom beside see-through corners.
#include "XPLook.h"

#include <cstdlib>

void TXPLook::DrawMenuWindowBorder(TCanvas& canvas, const TRect& window, TMenuWindowRegion& region, bool rtl)
{
    if (!FlatMenu || !active_)
        return;
    if (colorsChanged_)
        UpdateColors(canvas);
    TRect r{0, 0, window.Right - window.Left, window.Bottom - window.Top};
    // The shadow's outer corners show what lies behind the menu.
    const TRect box = region.Box();
    if (box.Right - box.Left == 0 || std::abs(box.Right - box.Left - r.Right) >= 6 ||
        std::abs(box.Bottom - box.Top - r.Bottom) >= 6)
        region.SetUnion(TRect{0, 0, r.Right - 2, r.Bottom - 2}, TRect{2, 2, r.Right, r.Bottom});
    r.Right -= 2;
    r.Bottom -= 2;
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = FFMenuBorderColor;
    canvas.FrameRect(r);
    // The gutter carried on to the frame, on the gutter's side.
    canvas.Brush.Color = FFIconBackColor;
    if (rtl)
        canvas.FillRect(TRect{r.Right - 3, r.Top + 2, r.Right - 1, r.Bottom - 1});
    else
        canvas.FillRect(TRect{r.Left + 1, r.Top + 2, r.Left + 3, r.Bottom - 1});
    // The menu's top margin takes the look of the first item's top row.
    const int width = r.Right - r.Left - 1;
    if (width > 0 && r.Bottom - r.Top > 4) {
        TBitmap row(width, 1, pf24bit);
        row.Canvas().CopyRect(TRect{0, 0, width, 1}, canvas, TRect{r.Left + 1, r.Top + 3, r.Left + 1 + width, r.Top + 4});
        canvas.CopyRect(TRect{r.Left + 1, r.Top + 1, r.Left + 1 + width, r.Top + 3}, row.Canvas(), TRect{0, 0, width, 1});
    }
    r.Right += 2;
    r.Bottom += 2;
    canvas.Brush.Color = FFMenuShadowColor;
    canvas.FillRect(TRect{r.Left + 2, r.Bottom - 2, r.Right, r.Bottom});
    canvas.FillRect(TRect{r.Right - 2, r.Top + 2, r.Right, r.Bottom});
}
