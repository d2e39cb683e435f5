// The flat speed button's link to an action: caption, enabled state and hint as any control's,
// and the action's image for a button without a glyph of its own.
#include "SpeedBtns.h"

#include "ActionGlyph.h"

void TCustomFlatSpeedButton::ActionChange(TBasicAction& action)
{
    TGraphicControl::ActionChange(action);
    if (Glyph().Empty())
        if (std::unique_ptr<TBitmap> image = ActionGlyph(action))
            SetGlyph(image.get());
}
