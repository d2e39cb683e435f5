// The XP look of the flat speed buttons (and the timer buttons built on them).
#include "ControlSubClass.h"

#include "SpeedBtns.h"

bool IsFlatSpeedButton(TControl* control) { return dynamic_cast<TCustomFlatSpeedButton*>(control) != nullptr; }

bool TControlSubClass::PaintFlatSpeedButton(TCanvas& canvas)
{
    auto* button = dynamic_cast<TCustomFlatSpeedButton*>(Control);
    if (!button)
        return false;
    const bool pressed = PaintSpeedFace(canvas, button->Down(), button->Flat(), button->MouseInControl());
    // The strip holds up to four images: normal, disabled, pressed, down.
    TButtonState state = bsUp;
    if (!button->Enabled())
        state = bsDisabled;
    else if (button->Down())
        state = bsExclusive;
    else if (pressed)
        state = bsDown;
    const TRect r = Control->ClientRect();
    canvas.Font.Assign(Control->Font);
    button->ButtonGlyph().Draw(canvas, TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, TPoint{0, 0},
                               Control->Caption(), button->Layout(), button->Margin(), button->Spacing(), state,
                               // The glyph's layout mirrors left and right itself.
                               button->UseRightToLeftReading());
    return true;
}
