// The flat border of popup-menu windows: a one-pixel frame with the icon gutter carried on
// to it, and a two-pixel shadow at the right and the bottom.
#include "XPLook.h"

void TXPLook::DrawMenuWindowBorder(TCanvas& canvas, const TRect& window, bool rtl)
{
    if (!FlatMenu || !active_)
        return;
    if (colorsChanged_)
        UpdateColors(canvas);
    TRect r{window.Left, window.Top, window.Right - 2, window.Bottom - 2};
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = FFMenuBorderColor;
    canvas.FrameRect(r);
    // The gutter carried on to the frame, on the gutter's side.
    canvas.Brush.Color = FFIconBackColor;
    if (rtl)
        canvas.FillRect(TRect{r.Right - 3, r.Top + 1, r.Right - 1, r.Bottom - 1});
    else
        canvas.FillRect(TRect{r.Left + 1, r.Top + 1, r.Left + 3, r.Bottom - 1});
    // A menu window cannot be see-through at the corners beside the shadow: they take the
    // item background.
    canvas.Brush.Color = FFColor;
    canvas.FillRect(TRect{window.Right - 2, window.Top, window.Right, window.Top + 2});
    canvas.FillRect(TRect{window.Left, window.Bottom - 2, window.Left + 2, window.Bottom});
    canvas.Brush.Color = FFMenuShadowColor;
    canvas.FillRect(TRect{window.Left + 2, window.Bottom - 2, window.Right, window.Bottom});
    canvas.FillRect(TRect{window.Right - 2, window.Top + 2, window.Right, window.Bottom});
}
