// The rich edit's frame in the XP look: drawn on its parent, just outside it, since the edit
// itself gives up its border for a band in its own colour.
#include "ControlSubClass.h"

#include "ExtCtrls.h"
#include "XPColors.h"
#include "XPLook.h"

void TControlSubClass::PaintRichEdit(TCanvas& parentCanvas)
{
    auto* win = static_cast<TWinControl*>(Control);
    const bool lit = FMouseInControl || win->Focused();
    const TColor parent = Control->Parent() ? Control->Parent()->Color() : clBtnFace;
    const TColor color = lit                        ? LightenColor(XPLook->FFSelectBorderColor, 60)
                         : FBorderStyle == bsSingle ? DarkenColor(parent, 60)
                                                    : ColorToRGB(parent);
    const TRect bounds = Control->BoundsRect();
    TRect r{bounds.Left - 1, bounds.Top - 1, bounds.Right + 1, bounds.Bottom + 1};
    Frame3D(parentCanvas, r, color, color, 1);
}
