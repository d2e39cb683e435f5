#pragma once
// The picture of an action as a button glyph, for buttons linked to an action while their own
// glyph is empty.
#include "ActnList.h"
#include "Graphics.h"

#include <memory>

// The image of the action's ImageIndex in its list's Images, drawn on $FF00FF with $FF00FF as
// the glyph's transparent colour; nullptr when the action has no list, images or such image.
std::unique_ptr<TBitmap> ActionGlyph(const TBasicAction& action);
