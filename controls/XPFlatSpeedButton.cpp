// The XP look of the flat speed buttons (and the timer buttons built on them).
#include "ControlSubClass.h"

#include "SpeedBtns.h"

bool IsFlatSpeedButton(TControl* control) { return dynamic_cast<TCustomFlatSpeedButton*>(control) != nullptr; }

bool TControlSubClass::PaintFlatSpeedButton(TCanvas& canvas)
{
    auto* button = dynamic_cast<TCustomFlatSpeedButton*>(Control);
    if (!button)
        return false;
    const TSpeedFace face{button->Glyph(),  button->NumGlyphs(), button->Layout(),      button->Margin(),
                          button->Spacing(), button->Down(),     button->Flat(),        button->MouseInControl(),
                          button->Transparent(), button->UseRightToLeftReading(), false};
    PaintSpeedContent(canvas, face, PaintSpeedFace(canvas, face));
    return true;
}
