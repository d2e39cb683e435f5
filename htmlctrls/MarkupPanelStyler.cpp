#include "MarkupPanelStyler.h"

#include "MarkupPanel.h"

TMarkupPanelStyler::TMarkupPanelStyler(TComponent* owner) : TComponent(owner)
{
    settings_.OnChange = [this](TObject*) { Apply(); };
    SetStyle(psXP);
}

TMarkupPanelStyler::~TMarkupPanelStyler()
{
    // Panels that still name this styler must not reach it once it is gone.
    if (Owner())
        for (int i = 0; i < Owner()->ComponentCount(); ++i)
            if (auto* panel = dynamic_cast<TCustomMarkupPanel*>(Owner()->Components(i)))
                if (panel->Styler() == this)
                    panel->SetStyler(nullptr);
}

void TMarkupPanelStyler::SetStyle(TMarkupPanelStyle style)
{
    style_ = style;
    settings_.BeginUpdate();
    WritePreset(style);
    settings_.EndUpdate();
}

void TMarkupPanelStyler::Apply()
{
    if (!Owner())
        return;
    for (int i = 0; i < Owner()->ComponentCount(); ++i)
        if (auto* panel = dynamic_cast<TCustomMarkupPanel*>(Owner()->Components(i)))
            if (panel->Styler() == this)
                panel->ApplySettings(settings_);
}

void TMarkupPanelStyler::WritePreset(TMarkupPanelStyle style)
{
    TMarkupPanelSettings& s = settings_;
    TPanelCaption& c = s.Caption();
    const bool xp = style == psXP, flat = style == psFlat, varo = style == psVaro;
    s.SetColor(xp || varo ? 0xFFFFFF : 0x8000000F);
    s.SetColorTo(xp ? 0xE3F0F2 : varo ? 0xE4E4E4 : clNone);
    const String font = xp ? "Verdana" : style == psClassic ? "MS Sans Serif" : "Tahoma";
    s.Font().SetName(font);
    c.Font().SetName(font);
    if (!xp)
        s.Font().SetColor(0x80000008);
    c.Font().SetColor(varo ? 0 : 0x8000000E);
    c.SetShadeType(varo ? stRMetal : stNormal);
    if (varo || style == psClassic) {
        c.SetShadeGrain(32);
        c.SetShadeLight(255);
    }
    s.SetBevelInner(bvNone);
    s.SetBevelOuter(style == psClassic ? bvRaised : bvNone);
    s.SetBorderColor(0x808080);
    s.SetBorderShadow(xp || varo);
    s.SetBorderStyle(bsNone);
    s.SetCollapsColor(0x8000000F);
    c.SetColor(xp || flat ? 0x8000000D : 0xFFFFFF);
    c.SetColorTo(xp ? 0xFF0000 : clNone);
    c.SetVisible(style != psClassic);
    if (style != psClassic) {
        c.SetHeight(20);
        c.SetIndent(xp ? 2 : varo ? 4 : 0);
    }
}
