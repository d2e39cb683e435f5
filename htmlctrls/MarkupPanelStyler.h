#pragma once
// Holds one set of panel settings, filled from four presets, and applies it to every panel of
// its owner that names it as styler.
#include "MarkupPanelSettings.h"

enum TMarkupPanelStyle { psXP, psFlat, psVaro, psClassic };

class TMarkupPanelStyler : public TComponent {
public:
    explicit TMarkupPanelStyler(TComponent* owner);
    ~TMarkupPanelStyler() override;

    TMarkupPanelSettings& Settings() { return settings_; }
    TMarkupPanelStyle Style() const { return style_; }
    void SetStyle(TMarkupPanelStyle style);
    String Comments;

private:
    void Apply();
    void WritePreset(TMarkupPanelStyle style);

    TMarkupPanelSettings settings_;
    TMarkupPanelStyle style_ = psXP;
};
