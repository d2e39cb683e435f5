#include "XPLook.h"

#include "ImgList.h"
#include "XPColors.h"
#include "XPIconEffects.h"

void TXPLook::DrawIcon(TCanvas& canvas, const TImageList& images, int index, int x, int y, bool selected,
                       bool enabled, bool checked, bool pressed, bool toolButton)
{
    TBitmap icon(images.Width, images.Height, pf24bit);
    icon.Canvas().Brush.Style = bsSolid;
    icon.Canvas().Brush.Color = TransparentColor;
    icon.Canvas().FillRect(TRect{0, 0, images.Width, images.Height});
    images.DrawMasked(icon.Canvas(), 0, 0, index);
    if (!enabled) {
        GrayBitmap(icon, GrayLevel, TransparentColor);
        LightenBitmap(icon, 40, TransparentColor);
    } else if (!checked && !pressed) {
        const TColor base = toolButton && FIsTrueColor && !useSystemColors_ ? LightenColor(selectColor_, 68) : FFSelectColor;
        if (selected)
            DrawBitmapShadow(icon, canvas, x + 2, y + 2, DarkenColor(base, 50));
        else if (FIsTrueColor)
            LightenBitmap(icon, DimLevel, TransparentColor);
    }
    DrawTransparent(icon, canvas, x, y, TransparentColor);
}
