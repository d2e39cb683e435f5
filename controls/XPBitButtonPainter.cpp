// The bit button in the XP look: the push button's rounded face with its glyph and caption laid
// out as the button lays them out.
#include "ControlSubClass.h"

#include "BitBtn.h"
#include "ImgList.h"
#include "SpeedBtns.h"
#include "XPColors.h"
#include "XPLook.h"

void TControlSubClass::PaintBitButton(TCanvas& canvas)
{
    auto* button = static_cast<TBitBtn*>(Control);
    const TRect r = Control->ClientRect();
    const TColor parent = Control->Parent() ? Control->Parent()->Color() : clBtnFace;
    const bool fromParent = (Control->Tag & 1000) == 1000;
    const bool edgeless = (Control->Tag & 1001) > 1000;
    const bool hot = FMouseInControl || FSpaceDown;
    const TColor face = hot ? LightenColor(fromParent ? parent : clBtnFace, TXPLook::HotButtonShade)
                            : (fromParent ? LightenColor(parent, TXPLook::ButtonShade) : XPLook->FFIconBackColor);
    TColor frame = hot || FFocused ? LightenColor(XPLook->FFSelectBorderColor, 60) : ColorToRGB(clBtnShadow);
    if (edgeless)
        frame = face;
    const bool pressed = FSpaceDown || (FMouseDown && hot);
    PaintRoundFace(canvas, r, face, frame, Control->Enabled() && !edgeless, pressed);
    // The first glyph image and the caption, placed in the face less its margins.
    const TBitmap& glyph = button->Glyph();
    const TPoint glyphSize = glyph.Empty() ? TPoint{0, 0} : TPoint{glyph.Width() / button->NumGlyphs(), glyph.Height()};
    const TRect content{r.Left + 4, r.Top + 2, r.Right - 4, r.Bottom - 2};
    canvas.Font.Assign(Control->Font);
    TPoint glyphPos{0, 0};
    TRect text;
    CalcButtonLayout(canvas, content, TPoint{0, 0}, Control->Caption(), button->Layout, button->Margin,
                     button->Spacing, glyphSize, glyphPos, text, Control->UseRightToLeftAlignment());
    if (glyphSize.X > 0) {
        TImageList first(nullptr, glyphSize.X, glyphSize.Y);
        TBitmap image(glyphSize.X, glyphSize.Y, pf24bit);
        image.Canvas().Draw(0, 0, glyph);  // the strip's first image fills the bitmap
        image.Canvas().Release();
        const uint8_t* corner = image.ScanLine(glyphSize.Y - 1);
        first.AddMasked(image, RGB(corner[2], corner[1], corner[0]));
        XPLook->DrawIcon(canvas, first, 0, glyphPos.X, glyphPos.Y, hot, Control->Enabled(), false, pressed);
    }
    XPLook->DrawItemText(canvas, Control->Caption(), "", text, false, Control->Enabled(), button->Default(),
                         Control->UseRightToLeftReading());
    PaintButtonFocus(canvas, r);
}
