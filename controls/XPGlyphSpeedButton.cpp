// The XP look of the glyph speed buttons.
#include "ControlSubClass.h"

#include "GlyphCtrls.h"

bool IsGlyphSpeedButton(TControl* control) { return dynamic_cast<TGlyphSpeedButton*>(control) != nullptr; }

bool TControlSubClass::PaintGlyphSpeedButton(TCanvas& canvas)
{
    auto* button = dynamic_cast<TGlyphSpeedButton*>(Control);
    if (!button)
        return false;
    const TSpeedFace face{button->Glyph(),       button->NumGlyphs(),
                          button->Layout(),      button->Margin(),
                          button->Spacing(),     button->Down(),
                          button->Flat(),        button->Hovered(),
                          button->Transparent(), Control->UseRightToLeftAlignment(),
                          button->MarkDropDown() && button->DropDownMenu()};
    PaintSpeedContent(canvas, face, PaintSpeedFace(canvas, face));
    return true;
}
