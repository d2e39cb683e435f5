#pragma once
// A pop-up menu that paints its own items: a light background, an image gutter, a bold caption
// with the item's hint as a description under it, a rounded gradient highlight, and separators
// that show their hint as a bold section title.
#include "Menus.h"

class TVeskPopupMenu : public TPopupMenu {
public:
    explicit TVeskPopupMenu(TComponent* owner);

    TColor CaptionGradientEnd = 10611967;
    TColor CaptionGradientStart = 15006975;
    TColor DescriptionGradientEnd = 8119551;
    TColor DescriptionGradientStart = 4446463;
    TColor FontColor = 7214336;
    TColor FontDisabledColor = 14599640;
    TColor GutterColor = 15658729;
    int GutterWidth = 26;
    bool InlineDescriptions = true;
    TColor ItemBackColor = 16448250;
    // Kept for form descriptions; the drawing does not use them.
    TColor ItemSelectedColor = 15128011;
    TColor SeparatorBackground = 15723503;
    TColor SeparatorLineColor = 13027270;
    bool ShowImages = true;
    bool ShowShortCuts = true;
    bool TextSeparators = true;

    // Gives every item, through all sub-menus, this menu's handlers: items whose caption is "-"
    // the separator handlers, the others the item handlers.
    void HookItems();

    void MeasureItem(TObject* sender, TCanvas& canvas, int& width, int& height);
    void DrawItem(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected);
    void MeasureSeparator(TObject* sender, TCanvas& canvas, int& width, int& height);
    void DrawSeparator(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected);

protected:
    // Each showing, whether by Popup or as a tool button's drop-down, hooks the items first,
    // so items added later and handlers another component assigned meanwhile get this look.
    void PreparePopup() override
    {
        OwnerDraw = true;
        HookItems();
    }

private:
    void Hook(TMenuItem& parent);
};
