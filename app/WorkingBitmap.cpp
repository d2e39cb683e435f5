#include "WorkingBitmap.h"

void CopyAsShown(const TPicture& picture, TBitmap& bitmap)
{
    const int w = picture.Width(), h = picture.Height();
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(w, h);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.Color = clWhite;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect({0, 0, w, h});
    if (picture.Graphic())
        canvas.Draw(0, 0, *picture.Graphic());
    canvas.Release();
}
