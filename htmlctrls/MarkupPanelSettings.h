#pragma once
// A bundle of collapsible-panel settings that a styler applies to its panels.
#include "ExtCtrls.h"
#include "Forms.h"
#include "PanelCaption.h"

enum TTextVAlignment { tvaTop, tvaCenter, tvaBottom };

class TMarkupPanelSettings : public TPersistent {
public:
    TMarkupPanelSettings();
    ~TMarkupPanelSettings() override;

    // Settings are filled property by property: assigning a whole bundle copies nothing.
    void Assign(const TPersistent&) override {}

    // A batch signals one change at its end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    TPanelCaption& Caption() { return *caption_; }
    void SetCaption(const TPanelCaption& v) { caption_->Assign(v); }
    TFont& Font() { return *font_; }
    void SetFont(const TFont& v) { font_->Assign(v); Changed(); }

#define PANEL_SETTING(type, name, init) \
    type name() const { return name##_; } \
    void Set##name(type v) { name##_ = v; Changed(); }
    PANEL_SETTING(bool, AnchorHint, false)
    PANEL_SETTING(bool, AutoHideChildren, false)
    PANEL_SETTING(TBevelCut, BevelInner, bvNone)
    PANEL_SETTING(TBevelCut, BevelOuter, bvNone)
    PANEL_SETTING(int, BevelWidth, 1)
    PANEL_SETTING(TColor, BorderColor, 0)
    PANEL_SETTING(bool, BorderShadow, false)
    PANEL_SETTING(TFormBorderStyle, BorderStyle, bsSingle)
    PANEL_SETTING(int, BorderWidth, 0)
    PANEL_SETTING(bool, CanMove, false)
    PANEL_SETTING(bool, CanSize, false)
    PANEL_SETTING(bool, Collaps, false)
    PANEL_SETTING(TColor, CollapsColor, clBtnFace)
    PANEL_SETTING(int, CollapsDelay, 0)
    PANEL_SETTING(int, CollapsSteps, 0)
    PANEL_SETTING(TColor, Color, clBtnFace)
    PANEL_SETTING(TColor, ColorTo, clNone)
    PANEL_SETTING(TCursor, Cursor, crDefault)
    PANEL_SETTING(bool, FixedTop, false)
    PANEL_SETTING(bool, FixedLeft, false)
    PANEL_SETTING(bool, FixedHeight, false)
    PANEL_SETTING(bool, FixedWidth, false)
    PANEL_SETTING(int, Height, 120)
    PANEL_SETTING(String, Hint, String())
    PANEL_SETTING(bool, Hover, false)
    PANEL_SETTING(TColor, HoverColor, 0)
    PANEL_SETTING(TColor, HoverFontColor, 0)
    PANEL_SETTING(int, Indent, 0)
    PANEL_SETTING(TColor, ShadowColor, 0)
    PANEL_SETTING(int, ShadowOffset, 0)
    PANEL_SETTING(bool, ShowHint, false)
    PANEL_SETTING(bool, ShowMoveCursor, false)
    PANEL_SETTING(String, Text, String())
    PANEL_SETTING(TTextVAlignment, TextVAlign, tvaTop)
    PANEL_SETTING(int, TopIndent, 0)
    PANEL_SETTING(TColor, URLColor, clBlue)
    PANEL_SETTING(int, Width, 0)
#undef PANEL_SETTING

    TNotifyEvent OnChange;

private:
    void Changed();

    std::unique_ptr<TPanelCaption> caption_;
    std::unique_ptr<TFont> font_;
    int updateCount_ = 0;
#define PANEL_FIELD(type, name, init) type name##_ = init;
    PANEL_FIELD(bool, AnchorHint, false)
    PANEL_FIELD(bool, AutoHideChildren, false)
    PANEL_FIELD(TBevelCut, BevelInner, bvNone)
    PANEL_FIELD(TBevelCut, BevelOuter, bvNone)
    PANEL_FIELD(int, BevelWidth, 1)
    PANEL_FIELD(TColor, BorderColor, 0)
    PANEL_FIELD(bool, BorderShadow, false)
    PANEL_FIELD(TFormBorderStyle, BorderStyle, bsSingle)
    PANEL_FIELD(int, BorderWidth, 0)
    PANEL_FIELD(bool, CanMove, false)
    PANEL_FIELD(bool, CanSize, false)
    PANEL_FIELD(bool, Collaps, false)
    PANEL_FIELD(TColor, CollapsColor, clBtnFace)
    PANEL_FIELD(int, CollapsDelay, 0)
    PANEL_FIELD(int, CollapsSteps, 0)
    PANEL_FIELD(TColor, Color, clBtnFace)
    PANEL_FIELD(TColor, ColorTo, clNone)
    PANEL_FIELD(TCursor, Cursor, crDefault)
    PANEL_FIELD(bool, FixedTop, false)
    PANEL_FIELD(bool, FixedLeft, false)
    PANEL_FIELD(bool, FixedHeight, false)
    PANEL_FIELD(bool, FixedWidth, false)
    PANEL_FIELD(int, Height, 120)
    PANEL_FIELD(String, Hint, String())
    PANEL_FIELD(bool, Hover, false)
    PANEL_FIELD(TColor, HoverColor, 0)
    PANEL_FIELD(TColor, HoverFontColor, 0)
    PANEL_FIELD(int, Indent, 0)
    PANEL_FIELD(TColor, ShadowColor, 0)
    PANEL_FIELD(int, ShadowOffset, 0)
    PANEL_FIELD(bool, ShowHint, false)
    PANEL_FIELD(bool, ShowMoveCursor, false)
    PANEL_FIELD(String, Text, String())
    PANEL_FIELD(TTextVAlignment, TextVAlign, tvaTop)
    PANEL_FIELD(int, TopIndent, 0)
    PANEL_FIELD(TColor, URLColor, clBlue)
    PANEL_FIELD(int, Width, 0)
#undef PANEL_FIELD
};
