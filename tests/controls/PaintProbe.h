#pragma once
// Reading back what controls painted, and finding the XP look's hook of a control.
#include "ControlSubClass.h"
#include "Controls.h"
#include "XPLook.h"

// The colour of a pixel of a 24- or 32-bit bitmap, pending painting finished first.
inline TColor At(TBitmap& image, int x, int y)
{
    image.Canvas().Release();
    const uint8_t* p = image.ScanLine(y) + (image.PixelFormat() == pf32bit ? 4 : 3) * x;
    return RGB(p[2], p[1], p[0]);
}

// The colour of a pixel of the control as it paints itself.
inline TColor Shot(TControl& control, int x, int y)
{
    TBitmap image;
    control.PaintTo(image);
    return At(image, x, y);
}

inline TControlSubClass* HookOf(TXPLook& look, TControl* control)
{
    for (TControlSubClass* sub : look.SubClasses())
        if (sub->Control == control)
            return sub;
    return nullptr;
}

// The colour the painter tests give their forms, so that colours taken from the parent show.
const TColor FormColor = RGB(200, 180, 160);
