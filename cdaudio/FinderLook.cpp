#include "FinderLook.h"

namespace {
constexpr TColor kBarColor = static_cast<TColor>(16243913);
}

void SetFinderFont(TFont& font)
{
    font.SetName("Trebuchet MS");
    font.SetHeight(-13);
}

void SetBarLook(TPanel& panel, const String& caption)
{
    panel.SetCaption(caption);
    panel.SetColor(kBarColor);
    SetFinderFont(panel.Font);
    panel.Font.SetColor(clNavy);
    panel.Font.SetStyle(fsBold);
}
