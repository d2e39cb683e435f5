#include "DrawLib.h"

void ReplaceColors(TBitmap& bitmap, TColor lightColor, TColor blackColor)
{
    bitmap.SetPixelFormat(pf24bit);
    const TColor light = ColorToRGB(lightColor);
    const TColor black = ColorToRGB(blackColor);
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
            const TColor c = (p[0] == 0 && p[1] == 0 && p[2] == 0) ? black : light;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    Fire(bitmap.OnChange, &bitmap);
}

void DrawEtchedText(TCanvas& canvas, const String& text, TRect& rect, unsigned flags)
{
    const TBrushStyle brushStyle = canvas.Brush.Style;
    const TColor fontColor = canvas.Font.Color();
    if (flags & DT_CALCRECT) {
        canvas.DrawText(text, rect, flags);
    } else {
        canvas.Brush.Style = bsClear;
        OffsetRect(rect, 1, 1);
        canvas.Font.SetColor(clBtnHighlight);
        canvas.DrawText(text, rect, flags);
        OffsetRect(rect, -1, -1);
        canvas.Font.SetColor(clBtnShadow);
        canvas.DrawText(text, rect, flags);
    }
    rect.Right += 1;
    rect.Bottom += 1;
    canvas.Brush.Style = brushStyle;
    canvas.Font.SetColor(fontColor);
}
