// The XP look of the glyph speed buttons.
#include "ControlSubClass.h"

#include "GlyphCtrls.h"

bool IsGlyphSpeedButton(TControl* control) { return dynamic_cast<TGlyphSpeedButton*>(control) != nullptr; }

bool TControlSubClass::PaintGlyphSpeedButton(TCanvas& canvas)
{
    auto* button = dynamic_cast<TGlyphSpeedButton*>(Control);
    if (!button)
        return false;
    const bool pressed = PaintSpeedFace(canvas, button->Down(), button->Flat(), button->Hovered());
    TGlyphButtonState state = gbsUp;
    if (!button->Enabled())
        state = gbsDisabled;
    else if (button->Down())
        state = gbsExclusive;
    else if (pressed)
        state = gbsDown;
    const TRect r = Control->ClientRect();
    canvas.Font.Assign(Control->Font);
    button->PaintFace(canvas, TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, state,
                      button->MarkDropDown() && button->DropDownMenu());
    return true;
}
