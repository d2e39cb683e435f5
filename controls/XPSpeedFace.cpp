// The speed buttons in the XP look: the face, and the glyph and caption drawn as the look
// draws menu icons and item texts (dimmed at rest, over a shadow when hot, grey when disabled).
#include "ControlSubClass.h"

#include "SpeedBtns.h"
#include "XPColors.h"
#include "XPIconEffects.h"
#include "XPLook.h"

namespace {

// How much lighter than what lies under it a transparent button's face is.
constexpr int TransparentFaceShade = TXPLook::HotButtonShade + 5;

}  // namespace

bool TControlSubClass::SpeedButtonHot(const TSpeedFace& b) const
{
    // A flat button may have missed the leave: only the cursor being inside makes it hot.
    return FMouseInControl && Control->Enabled() && (!b.flat || b.reallyInside);
}

bool TControlSubClass::PaintSpeedFace(TCanvas& canvas, const TSpeedFace& b)
{
    const TRect r = Control->ClientRect();
    const TColor parent = Control->Parent() ? Control->Parent()->Color() : clBtnFace;
    const bool fromParent = Control->Tag == 1000;
    const bool enabled = Control->Enabled();
    // The navigator's buttons rest on their parent's colour like flat ones.
    const bool onParent = b.flat || Control->ClassName() == "TNavButton";
    const bool hot = SpeedButtonHot(b);
    const bool pressed = FMouseDown && hot;
    TColor face, frame;
    if (hot) {
        face = b.flat ? XPLook->FFSelectColor : LightenColor(fromParent ? parent : clBtnFace, TXPLook::HotButtonShade);
        frame = LightenColor(XPLook->FFSelectBorderColor, 60);
    } else {
        face = onParent ? ColorToRGB(parent) : fromParent ? LightenColor(parent, TXPLook::ButtonShade) : XPLook->FFIconBackColor;
        frame = clBtnShadow;
    }
    if (b.down) {
        face = hot ? XPLook->FFCheckedAreaSelectedColor : XPLook->FFCheckedAreaColor;
        frame = XPLook->FFSelectBorderColor;
    }
    if (!enabled)
        frame = clBtnShadow;
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = frame;
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = face;
    const bool lit = b.down || hot;
    if (lit && b.transparent && canvas.BitsPerPixel() > 16) {
        // What lies under the button shows through its lit face.
        if (b.flat) {
            canvas.Brush.Color = LightenColor(XPLook->FFSelectColor, 20);
            canvas.FillRect(r);
        } else {
            TBitmap under(r.Right - r.Left, r.Bottom - r.Top, pf24bit);
            Control->PaintUnderneath(under.Canvas());
            under.Canvas().Release();
            LightenBitmap(under, TransparentFaceShade, clNone);
            canvas.Draw(r.Left, r.Top, under);
        }
        canvas.Brush.Style = bsClear;
        canvas.Rectangle(r);
    } else if (lit || !b.flat) {
        canvas.Rectangle(r);
    }
    if (enabled && (!b.flat || pressed || b.down)) {
        const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
        canvas.Pen.Color = DarkenColor(frame, 50);
        if (pressed || b.down) {
            canvas.MoveTo(L, B - 1);
            canvas.LineTo(L, T);
            canvas.LineTo(R, T);
        } else {
            canvas.MoveTo(R - 1, T);
            canvas.LineTo(R - 1, B - 1);
            canvas.LineTo(L - 1, B - 1);
        }
    }
    return pressed;
}

void TControlSubClass::PaintSpeedContent(TCanvas& canvas, const TSpeedFace& b, bool pressed)
{
    const TRect r = Control->ClientRect();
    TRect content{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    if (b.mark) {
        content.Right -= 9;
        TXPLook::DrawDropDownArrow(canvas, content.Right + 1, (r.Top + r.Bottom) / 2 - 1);
    }
    const bool enabled = Control->Enabled();
    // The strip holds up to four images: normal, disabled, pressed, down.
    int column = 0;
    if (!enabled)
        column = 1;
    else if (b.down)
        column = 3;
    else if (pressed)
        column = 2;
    if (column >= b.numGlyphs)
        column = 0;
    const int w = b.glyph.Empty() ? 0 : b.glyph.Width() / b.numGlyphs;
    const int h = b.glyph.Empty() ? 0 : b.glyph.Height();
    canvas.Font.Assign(Control->Font);
    TPoint at{0, 0};
    TRect text;
    CalcButtonLayout(canvas, content, TPoint{0, 0}, Control->Caption(), b.layout, b.margin, b.spacing, TPoint{w, h},
                     at, text, b.rtl);
    if (w > 0 && h > 0) {
        TBitmap image(w, h, pf24bit);
        image.Canvas().Draw(-column * w, 0, b.glyph);  // the strip's image for the state fills the bitmap
        image.Canvas().Release();
        const uint8_t* corner = image.ScanLine(h - 1);
        TImageList one(nullptr, w, h);
        one.AddMasked(image, RGB(corner[2], corner[1], corner[0]));
        XPLook->DrawIcon(canvas, one, 0, at.X, at.Y, SpeedButtonHot(b), enabled, b.down, pressed);
    }
    XPLook->DrawItemText(canvas, Control->Caption(), "", text, false, enabled, false, Control->UseRightToLeftReading());
}
