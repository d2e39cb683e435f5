#pragma once
// A component that gives its form a flat "XP" look without changing any control's class: it
// draws the items of the form's popup menus itself, shades the tool bars and hooks standard
// controls so that a painter draws a flat frame or face over them. Controls or menus whose Tag
// is 999 are left alone; a control whose Tag is 1000 takes its button colours from its parent.
#include "ComCtrls.h"
#include "ControlBar.h"
#include "Forms.h"
#include "MainMenu.h"
#include "Menus.h"

#include <memory>
#include <vector>

enum TXPContainer {
    xccForm, xccFrame, xccToolbar, xccCoolbar, xccControlbar, xccPanel, xccScrollBox, xccGroupBox, xccTabSheet,
    xccPageScroller
};
enum TXPControl {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcListBox, xcEdit, xcMaskEdit, xcMemo, xcRichEdit,
    xcMiscEdit, xcCheckBox, xcRadioButton, xcButton, xcBitBtn, xcSpeedButton, xcUpDown, xcPanel, xcGroupBox,
    xcTreeView, xcListView, xcProgressBar, xcHotKey
};
// Member n at bit n.
using TXPContainers = unsigned;
using TXPControls = unsigned;
constexpr unsigned XPBit(int member) { return 1u << member; }
constexpr TXPContainers AllXPContainers = (1u << (xccPageScroller + 1)) - 1;
constexpr TXPControls AllXPControls = (1u << (xcHotKey + 1)) - 1;

class TControlHook;
class TControlSubClass;

class TXPLook : public TComponent {
public:
    explicit TXPLook(TComponent* owner);
    ~TXPLook() override;

    int DimLevel = 30;
    int GrayLevel = 10;
    // Text font of menu items.
    TFont Font;
    bool DrawSelect = true;
    bool UseDimColor = false;
    bool Gradient = false;
    bool FlatMenu = false;
    bool DrawMenuBar = false;
    bool AutoDetect = false;
    // On: the component never gives the look to other forms; turned on while it does, it hands
    // that over to the next active component.
    bool DisableSubclassing() const { return disableSubclassing_; }
    void SetDisableSubclassing(bool value);
    int IconWidth = 24;
    bool Shiny = false;
    TColor GradientTopEnd = 0x9C7539;
    TColor GradientTopStart = 0xBFA67F;
    TColor GradientBottomStart = 0x754804;
    TColor GradientBottomEnd = 0xAA904A;

    // Colour properties: a change is taken into the colours in use before the next drawing.
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; colorsChanged_ = true; }
    TColor IconBackColor() const { return iconBackColor_; }
    void SetIconBackColor(TColor c) { iconBackColor_ = c; colorsChanged_ = true; }
    TColor MenuBarColor() const { return menuBarColor_; }
    // Redraws the form's menu bar in the new colour at once.
    void SetMenuBarColor(TColor c);
    TColor SelectColor() const { return selectColor_; }
    void SetSelectColor(TColor c) { selectColor_ = c; colorsChanged_ = true; }
    TColor SelectBorderColor() const { return selectBorderColor_; }
    void SetSelectBorderColor(TColor c) { selectBorderColor_ = c; colorsChanged_ = true; }
    TColor SelectFontColor() const { return selectFontColor_; }
    void SetSelectFontColor(TColor c) { selectFontColor_ = c; colorsChanged_ = true; }
    TColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(TColor c) { disabledColor_ = c; colorsChanged_ = true; }
    TColor SeparatorColor() const { return separatorColor_; }
    void SetSeparatorColor(TColor c) { separatorColor_ = c; colorsChanged_ = true; }
    TColor CheckedColor() const { return checkedColor_; }
    void SetCheckedColor(TColor c) { checkedColor_ = c; colorsChanged_ = true; }
    bool UseSystemColors() const { return useSystemColors_; }
    // Also redraws the form's menu bar.
    void SetUseSystemColors(bool on);

    // Takes effect at the next activation.
    bool OverrideOwnerDraw = false;
    TXPContainers XPContainers() const { return xpContainers_; }
    void SetXPContainers(TXPContainers value);
    TXPControls XPControls() const { return xpControls_; }
    void SetXPControls(TXPControls value);
    bool Active() const { return active_; }
    void SetActive(bool value);

    // Registers with the manager; the form calls it once its components are made and set.
    void Loaded();
    // With AutoDetect, menu items and tool buttons inserted into the form later get the look.
    void Notification(TComponent* component, TOperation operation) override;
    // The form that owns the component, nullptr without one.
    TForm* Form() const { return form_; }
    // The form or frame that owns the component; its components are the ones decorated.
    TWinControl* OwnerControl() const { return ownerControl_; }

    // Decorates (or undecorates) every component Owner owns, and those of forms it owns.
    void ActivateComponents(TComponent* owner, bool enable, bool update);
    void ActivateComponent(TComponent* comp, bool enable, bool update);

    // Menu item handlers.
    void MenuMeasureItem(TObject* sender, TCanvas& canvas, int& width, int& height);
    void MenuDrawItem(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected);
    // Control bar handler: a lightened band with a grabber of shaded lines.
    void ControlBarBandPaint(TObject* sender, TControl* control, TCanvas& canvas, TRect& rect,
                             TBandPaintOptions& options);
    // Tool bar handlers: the background (with Shiny), and each button's face, image and caption.
    void ToolBarCustomDraw(TToolBar* toolBar, const TRect& rect, bool& defaultDraw);
    void ToolBarCustomDrawButton(TToolBar* toolBar, TToolButton* button, TCustomDrawState state, bool& defaultDraw);
    // An item that is open (a tool button whose menu shows): a frame open at the bottom and a
    // shadow at the right, in the select colours.
    void DrawTopMenuItem(TCanvas& canvas, bool rtl, TColor color, const TRect& r);
    // An open top-level item of a main menu: in true colour, left to right, a deeper shadow in
    // four shades with a shaped top corner; otherwise as a tool button's.
    void DrawTopMenuItem(TMenuItem& item, TCanvas& canvas, bool rtl, TColor color, const TRect& r);
    // The item is one of the top-level items of a main menu.
    static bool IsTop(const TMenuItem& item);
    // A black arrow of rows of 5, 3 and 1 pixels whose top row starts at (x, y).
    static void DrawDropDownArrow(TCanvas& canvas, int x, int y);
    // A solid triangle of five rows, 1 to 9 pixels wide: pointing up (direction 0) with its
    // apex at (x, y), or down (1) with its apex at (x, y + 3).
    static void DrawSpinArrow(TCanvas& canvas, int x, int y, int direction, TColor color);

    // Recomputes the colours in use from the properties for drawing on canvas: surfaces of
    // fewer than 16 bits per pixel get plain colours instead of shades.
    void UpdateColors(TCanvas& canvas);
    // The same for the screen.
    void UpdateColors();
    bool ColorsChanged() const { return colorsChanged_; }
    // The last surface the colours were computed for has 16 or more bits per pixel.
    bool FIsTrueColor = true;
    // The colours in use, for the painters.
    TColor FFColor = 0, FFIconBackColor = 0, FFSelectColor = 0, FFSelectBorderColor = 0, FFSelectFontColor = 0,
           FFCheckedAreaColor = 0, FFCheckedAreaSelectedColor = 0, FFCheckedColor = 0, FFMenuBarColor = 0,
           FFDisabledColor = 0, FFSeparatorColor = 0, FFMenuBorderColor = 0, FFMenuShadowColor = 0;
    static constexpr int ButtonShade = 16;
    static constexpr int HotButtonShade = 40;

    // What DrawItemText draws: a main menu's top-level item (its selected text takes a colour
    // that stands out on the gutter's), a tool button's caption (disabled: on the brush colour).
    enum : unsigned { itTopItem = 1, itToolButton = 2 };
    // Draws text with the look's colours: the selected, disabled or plain font colour; a default
    // item stands out over four darker copies. Right to left, the text is right-aligned and the
    // shortcut stands at the left.
    void DrawItemText(TCanvas& canvas, const String& text, const String& shortcut, TRect r, bool selected,
                      bool enabled, bool isDefault, bool rtl = false, unsigned kind = 0);
    // The item background with Gradient: columns lightening from the gutter's side.
    void DrawGradientGutter(TCanvas& canvas, const TRect& r, bool rtl);

    // A menu icon at (x, y): lightened by DimLevel when unselected, greyed by GrayLevel when
    // disabled, over its shadow when selected.
    // A tool button's shadow (toolButton) is based on the select colour itself when the colours
    // are not the system's.
    void DrawIcon(TCanvas& canvas, const TImageList& images, int index, int x, int y, bool selected, bool enabled,
                  bool checked, bool pressed = false, bool toolButton = false);
    // With FlatMenu, a one-pixel border and a shadow over a popup-menu window, its corners
    // beside the shadow left see-through.
    void DrawMenuWindowBorder(TCanvas& canvas, const TRect& window, TMenuWindowRegion& region, bool rtl = false);
    // The key colour of icon bitmaps.
    static constexpr TColor TransparentColor = 0xFF00FF;

    // The control hooks this component owns (also those the manager moves to it).
    std::vector<TControlSubClass*> SubClasses() const;

private:
    void HookMenuItem(TMenuItem& item, bool enable);
    void HookMenu(TMenuItem& parent, bool enable);
    // The flat border over the menu's windows (drawn with FlatMenu).
    void HookMenuWindows(TMenu& menu, bool enable);
    bool Decorates(TControl* control) const;
    void ActivateToolBar(TToolBar& bar, bool enable, bool update);
    void ActivateControlBar(TControlBar& bar, bool enable, bool update);
    void ActivateMainMenu(TMainMenu& menu, bool enable);
    // Decorates or restores one control of the two tables' kinds.
    void ActivateControl(TControl& control, bool enable, bool update);
    // The background, selection, icon and caption of a main menu's top-level item.
    void DrawTopItem(TMenuItem& item, TCanvas& canvas, const TRect& rect, bool selected);
    // The item's icon: from its image list (as index), else its own bitmap put into own; nullptr
    // for none.
    static const TImageList* ItemIcon(const TMenuItem& item, TImageList& own, int& index);
    // The icon gutter of an item in r, and the box of its check mark (iconWidth 0: no icon).
    void GutterAndCheck(const TRect& r, bool rtl, int iconWidth, TRect& gutter, TRect& check) const;
    // The mark of a checked item: a frame round its icon, else a box with a check mark; for a
    // radio item a rounded frame round its icon, else a circle with a dot.
    void DrawCheckedItem(TCanvas& canvas, const TRect& check, bool hasIcon, bool selected, bool enabled,
                         bool radio);
    // A disabled tool-button caption, in a block of the canvas' brush colour.
    void DrawDisabledCaption(TCanvas& canvas, const String& text, const TRect& r, unsigned align);
    // The menu bar takes MenuBarColor again and is drawn anew.
    void RefreshMenuBar();

    TForm* form_ = nullptr;
    TWinControl* ownerControl_ = nullptr;
    bool active_ = false;
    bool disableSubclassing_ = false;
    bool colorsChanged_ = true;
    TXPContainers xpContainers_ = AllXPContainers;
    TXPControls xpControls_ = AllXPControls;
    TColor color_ = clBtnFace;
    TColor iconBackColor_ = clBtnFace;
    TColor menuBarColor_ = clBtnFace;
    TColor selectColor_ = clHighlight;
    TColor selectBorderColor_ = clHighlight;
    TColor selectFontColor_ = clMenuText;
    TColor disabledColor_ = clInactiveCaption;
    TColor separatorColor_ = clBtnFace;
    TColor checkedColor_ = clHighlight;
    bool useSystemColors_ = true;
};
