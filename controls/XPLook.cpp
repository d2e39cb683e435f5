#include "XPLook.h"

#include "CheckBoxes.h"
#include "ComCtrls.h"
#include "ControlHook.h"
#include "ControlSubClass.h"
#include "ExtCtrls.h"
#include "Frames.h"
#include "ListBoxes.h"
#include "RadioGroup.h"
#include "RoundRects.h"
#include "StdCtrls.h"
#include "VeskGaugeUnit.h"
#include "XPColors.h"
#include "XPLookManager.h"

#include <algorithm>
#include <cmath>

namespace {

// The handlers given to menu items: their own types, so that they can be told from others'.
struct XPMeasure {
    TXPLook* look;
    void operator()(TObject* s, TCanvas& c, int& w, int& h) const { look->MenuMeasureItem(s, c, w, h); }
};
struct XPBorder {
    TXPLook* look;
    const TMenu* menu;
    void operator()(TCanvas& c, const TRect& r, TMenuWindowRegion& region) const
    {
        look->DrawMenuWindowBorder(c, r, region, menu->RightToLeft);
    }
};
bool IsOurs(const decltype(TMenu::OnPaintWindow)& e, const TXPLook* look)
{
    const auto* b = e.target<XPBorder>();
    return b && b->look == look;
}
struct XPDraw {
    TXPLook* look;
    void operator()(TObject* s, TCanvas& c, const TRect& r, bool sel) const { look->MenuDrawItem(s, c, r, sel); }
};

bool IsOurs(const TMenuMeasureItemEvent& e, const TXPLook* look)
{
    const auto* m = e.target<XPMeasure>();
    return m && m->look == look;
}
bool IsOurs(const TMenuDrawItemEvent& e, const TXPLook* look)
{
    const auto* d = e.target<XPDraw>();
    return d && d->look == look;
}

bool IsLine(const TMenuItem& item) { return item.Caption == "-"; }

}  // namespace

TXPLook::TXPLook(TComponent* owner) : TComponent(owner)
{
    // The menu font of this desktop.
    Font.SetName("Tahoma");
    Font.SetHeight(-11);
    Font.SetColor(clMenuText);
    selectFontColor_ = Font.Color();
    Font.OnChange = [this](TObject*) { RefreshMenuBar(); };
    form_ = dynamic_cast<TForm*>(owner);
    ownerControl_ = dynamic_cast<TWinControl*>(owner);
    UpdateColors();
    CreateXPLookManager();
}

TXPLook::~TXPLook()
{
    if (ownerControl_)
        ActivateComponents(ownerControl_, false, false);
    if (XPLookManager) {
        XPLookManager->Delete(this);
        // The form shows its undecorated controls at once (unless it is going away itself).
        if (Owner() && ownerControl_)
            ownerControl_->Repaint();
        if (XPLookManager->FXPLookList.empty())
            FreeXPLookManager();
    }
}

void TXPLook::Loaded()
{
    if (XPLookManager)
        XPLookManager->Add(this);
}

void TXPLook::Notification(TComponent* component, TOperation operation)
{
    if (XPLookManager)
        XPLookManager->Notification(component, operation);
    TComponent::Notification(component, operation);
    if (XPLookManager && active_ && AutoDetect && operation == opInsert &&
        (dynamic_cast<TMenuItem*>(component) || dynamic_cast<TToolButton*>(component) ||
         dynamic_cast<TControlBar*>(component)))
        ActivateComponent(component, true, true);
}

void TXPLook::SetActive(bool value)
{
    if (value == active_)
        return;
    active_ = value;
    if (ownerControl_)
        ActivateComponents(ownerControl_, value, true);
    // The forms it decorates for the manager follow, or their menus would be left undrawn.
    if (XPLookManager && XPLookManager->ActiveXPLook() == this)
        for (TForm* form : XPLookManager->DecoratedForms())
            ActivateComponents(form, value, true);
    RefreshMenuBar();
}

void TXPLook::SetDisableSubclassing(bool value)
{
    if (value == disableSubclassing_)
        return;
    disableSubclassing_ = value;
    if (!XPLookManager)
        return;
    if (value && XPLookManager->ActiveXPLook() == this)
        XPLookManager->UpdateActiveXPLook(this);
    else if (!value && !XPLookManager->ActiveXPLook())
        XPLookManager->UpdateActiveXPLook(nullptr);
}

void TXPLook::SetXPContainers(TXPContainers value)
{
    if (value == xpContainers_)
        return;
    if (active_ && ownerControl_)
        ActivateComponents(ownerControl_, false, true);
    xpContainers_ = value;
    if (active_ && ownerControl_)
        ActivateComponents(ownerControl_, true, true);
}

void TXPLook::SetXPControls(TXPControls value)
{
    if (value == xpControls_)
        return;
    if (active_ && ownerControl_)
        ActivateComponents(ownerControl_, false, true);
    xpControls_ = value;
    if (active_ && ownerControl_)
        ActivateComponents(ownerControl_, true, true);
}

void TXPLook::SetMenuBarColor(TColor c)
{
    menuBarColor_ = c;
    RefreshMenuBar();
}

void TXPLook::SetUseSystemColors(bool on)
{
    useSystemColors_ = on;
    colorsChanged_ = true;
    RefreshMenuBar();
}

void TXPLook::RefreshMenuBar()
{
    FFMenuBarColor = menuBarColor_;
    if (form_ && form_->Menu())
        form_->Menu()->UpdateItems();
}

void TXPLook::UpdateColors()
{
    TCanvas screen;
    UpdateColors(screen);
}

void TXPLook::UpdateColors(TCanvas& canvas)
{
    colorsChanged_ = false;
    FIsTrueColor = canvas.BitsPerPixel() >= 16;
    FFColor = color_;
    FFIconBackColor = iconBackColor_;
    if (!FIsTrueColor) {
        FFSelectColor = selectColor_;
        FFCheckedAreaColor = clWhite;
        FFCheckedAreaSelectedColor = clSilver;
        FFMenuBorderColor = FFMenuShadowColor = clBtnShadow;
    } else if (UseDimColor) {
        FFSelectColor = LightenColor(selectColor_, 68);
        FFCheckedAreaColor = LightenColor(selectColor_, 80);
        FFCheckedAreaSelectedColor = LightenColor(selectColor_, 50);
    } else {
        FFSelectColor = FFCheckedAreaColor = FFCheckedAreaSelectedColor = selectColor_;
    }
    if (FIsTrueColor) {
        FFMenuBorderColor = DarkenColor(clBtnFace, 90);
        FFMenuShadowColor = DarkenColor(clBtnFace, 76);
    }
    FFSelectBorderColor = selectBorderColor_;
    FFSelectFontColor = selectFontColor_;
    FFMenuBarColor = menuBarColor_;
    FFDisabledColor = disabledColor_;
    FFCheckedColor = checkedColor_;
    FFSeparatorColor = separatorColor_;
    if (useSystemColors_ && !FIsTrueColor) {
        FFSelectFontColor = Font.Color();
        FFColor = clWhite;
        FFIconBackColor = clBtnFace;
        FFSelectColor = clWhite;
        FFSelectBorderColor = clHighlight;
        FFMenuBarColor = clBtnFace;
        FFDisabledColor = clBtnShadow;
        FFCheckedColor = clHighlight;
        FFSeparatorColor = clBtnShadow;
        FFCheckedAreaColor = FFCheckedAreaSelectedColor = clWhite;
    } else if (useSystemColors_) {
        FFSelectFontColor = Font.Color();
        FFColor = LightenColor(clBtnFace, 86);
        FFIconBackColor = LightenColor(clBtnFace, 16);
        FFSelectColor = LightenColor(clHighlight, 68);
        FFSelectBorderColor = clHighlight;
        FFMenuBarColor = clBtnFace;
        FFDisabledColor = LightenColor(clBtnShadow, 10);
        FFSeparatorColor = LightenColor(clBtnShadow, 25);
        FFCheckedColor = clHighlight;
        FFCheckedAreaColor = LightenColor(clHighlight, 80);
        FFCheckedAreaSelectedColor = LightenColor(clHighlight, 50);
    }
}

std::vector<TControlSubClass*> TXPLook::SubClasses() const
{
    std::vector<TControlSubClass*> subs;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* s = dynamic_cast<TControlSubClass*>(Components(i)))
            subs.push_back(s);
    return subs;
}

void TXPLook::ActivateComponents(TComponent* owner, bool enable, bool update)
{
    // Decorating may add components (hooks are owned by this component, not by Owner).
    for (int i = 0; i < owner->ComponentCount(); ++i)
        ActivateComponent(owner->Components(i), enable, update);
}

void TXPLook::HookMenuItem(TMenuItem& item, bool enable)
{
    if (enable) {
        if (item.Tag == 999)
            return;
        if (item.OnDrawItem && !IsOurs(item.OnDrawItem, this) && !OverrideOwnerDraw) {
            if (!item.OnMeasureItem)
                item.OnMeasureItem = XPMeasure{this};
            return;
        }
        item.OnDrawItem = XPDraw{this};
        if (!item.OnMeasureItem || OverrideOwnerDraw || IsOurs(item.OnMeasureItem, this))
            item.OnMeasureItem = XPMeasure{this};
        return;
    }
    if (IsOurs(item.OnDrawItem, this))
        item.OnDrawItem = nullptr;
    if (IsOurs(item.OnMeasureItem, this))
        item.OnMeasureItem = nullptr;
}

void TXPLook::HookMenuWindows(TMenu& menu, bool enable)
{
    if (enable && !menu.OnPaintWindow)
        menu.OnPaintWindow = XPBorder{this, &menu};
    else if (!enable && IsOurs(menu.OnPaintWindow, this))
        menu.OnPaintWindow = nullptr;
}

void TXPLook::HookMenu(TMenuItem& parent, bool enable)
{
    for (int i = 0; i < parent.Count(); ++i) {
        HookMenuItem(*parent.Items(i), enable);
        HookMenu(*parent.Items(i), enable);
    }
}

void TXPLook::ActivateComponent(TComponent* comp, bool enable, bool update)
{
    if (auto* mainMenu = dynamic_cast<TMainMenu*>(comp)) {
        if ((xpControls_ & XPBit(xcMainMenu)) && mainMenu->Tag != 999)
            ActivateMainMenu(*mainMenu, enable);
        return;
    }
    if (auto* menu = dynamic_cast<TPopupMenu*>(comp)) {
        if ((xpControls_ & XPBit(xcPopupMenu)) && menu->Tag != 999) {
            menu->OwnerDraw = enable;
            HookMenu(menu->Items(), enable);
            HookMenuWindows(*menu, enable);
        }
        return;
    }
    if (auto* item = dynamic_cast<TMenuItem*>(comp)) {
        // An item inserted later (AutoDetect).
        const TMenu* menu = item->GetParentMenu();
        const int kind = dynamic_cast<const TMainMenu*>(menu) ? xcMainMenu : xcPopupMenu;
        if ((xpControls_ & XPBit(kind)) && menu && menu->Tag != 999) {
            HookMenuItem(*item, enable);
            HookMenu(*item, enable);
        }
        return;
    }
    if (auto* bar = dynamic_cast<TToolBar*>(comp)) {
        if (xpControls_ & XPBit(xcToolbar))
            ActivateToolBar(*bar, enable, update);
    }
    if (auto* bar = dynamic_cast<TControlBar*>(comp)) {
        if (xpControls_ & XPBit(xcControlbar))
            ActivateControlBar(*bar, enable, update);
    }
    // A tool button inserted later: its bar may have had no buttons to draw until now.
    if (auto* button = dynamic_cast<TToolButton*>(comp)) {
        if (auto* bar = dynamic_cast<TToolBar*>(button->Parent()); bar && (xpControls_ & XPBit(xcToolbar)))
            ActivateToolBar(*bar, enable, update);
        return;
    }
    // Forms, frames and navigators own the controls they hold.
    const bool form = dynamic_cast<TForm*>(comp) != nullptr;
    const bool frame = dynamic_cast<TFrame*>(comp) && (xpContainers_ & XPBit(xccFrame));
    if (form || frame || comp->ClassName() == "TDBNavigator")
        ActivateComponents(comp, enable, update);
    if (form)
        return;
    // A radio group's own buttons.
    if (auto* group = dynamic_cast<TRadioGroup*>(comp); group && (xpContainers_ & XPBit(xccGroupBox)))
        ActivateComponents(group, enable, update);
    if (auto* control = dynamic_cast<TControl*>(comp); control && Decorates(control))
        ActivateControl(*control, enable, update);
}

void TXPLook::ActivateControl(TControl& control, bool enable, bool update)
{
    if (enable && control.Tag != 999 && control.Parent()->Tag != 999) {
        // Once is enough; a hook given back to its control (its form restored) does not count.
        for (TControlSubClass* sub : SubClasses())
            if (sub->Control == &control && sub->Hooked())
                return;
        new TControlSubClass(this, &control);
    }
    if (update)
        control.Invalidate();
}

void TXPLook::MenuMeasureItem(TObject* sender, TCanvas& canvas, int& width, int& height)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!active_ || !item)
        return;
    String text = IsLine(*item) ? String() : item->Caption;
    const String shortcut = Trim(ShortCutToText(item->ShortCut));
    if (!shortcut.empty())
        text += shortcut + "WWW";
    canvas.Font.Assign(Font);
    int w = canvas.TextWidth(text) + 5;
    if (text.find('&') != String::npos)
        w -= canvas.TextWidth("&");
    const bool top = IsTop(*item);
    if (item->Count() > 0 && !top)
        w += 6;
    TImageList own;
    int index = -1;
    const TImageList* images = ItemIcon(*item, own, index);
    const int imageW = images ? images->Width : 0, imageH = images ? images->Height : 0;
    width = std::max(width, w + (top ? imageW : std::max(imageW, IconWidth)));
    if (IsLine(*item)) {
        height = std::max(height, 4);
        return;
    }
    const int th = canvas.TextHeight(text.empty() ? String("W") : text);
    const int h = std::max(th + static_cast<int>(std::nearbyint(th * 0.75)), imageH + 6);
    height = std::max(height, h);
}

void TXPLook::DrawItemText(TCanvas& canvas, const String& text, const String& shortcut, TRect r, bool selected,
                           bool enabled, bool isDefault, bool rtl, unsigned kind)
{
    const unsigned align = rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
    if (!enabled && (kind & itToolButton)) {
        DrawDisabledCaption(canvas, text, r, align);
        return;
    }
    TColor color = canvas.Font.Color();
    if (selected)
        color = (kind & itTopItem) && useSystemColors_ ? TopItemFontColor(FFIconBackColor, Font.Color())
                                                       : FFSelectFontColor;
    if (!enabled)
        color = FFDisabledColor;
    canvas.Brush.Style = bsClear;
    if (isDefault && enabled) {
        TColor under = canvas.Pixel(r.Left, r.Top);
        // A window being painted cannot be read back: the brush holds the face drawn under the text.
        if (under == static_cast<TColor>(-1))
            under = canvas.Brush.Color;
        const int offsets[4][3] = {{1, 0, 30}, {1, 2, 30}, {0, 1, 40}, {1, 1, 60}};
        for (const auto& o : offsets) {
            canvas.Font.SetColor(DarkenColor(under, o[2]));
            TRect shifted{r.Left + o[0], r.Top + o[1], r.Right + o[0], r.Bottom + o[1]};
            canvas.DrawText(text, shifted, DT_EXPANDTABS | align);
        }
    }
    canvas.Font.SetColor(color);
    canvas.DrawText(text, r, DT_EXPANDTABS | align);
    if (!shortcut.empty()) {
        TRect side = rtl ? TRect{r.Left + 10, r.Top, r.Right, r.Bottom} : TRect{r.Left, r.Top, r.Right - 10, r.Bottom};
        canvas.DrawText(shortcut + " ", side, rtl ? DT_LEFT | DT_RTLREADING : DT_RIGHT);
    }
}

void TXPLook::DrawDisabledCaption(TCanvas& canvas, const String& text, const TRect& r, unsigned align)
{
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    if (w <= 0 || h <= 0)
        return;
    // Drawn apart and copied in one block, on the brush colour of the last fill.
    TBitmap work(w, h, pf24bit);
    TCanvas& c = work.Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = canvas.Brush.Color;
    c.FillRect(TRect{0, 0, w, h});
    c.Font.Assign(canvas.Font);
    c.Font.SetColor(FFDisabledColor);
    c.Brush.Style = bsClear;
    TRect area{0, (h - c.TextHeight("W")) / 2, w, h};
    c.DrawText(text, area, DT_EXPANDTABS | align);
    c.Release();
    canvas.Draw(r.Left, r.Top, work);
}

void TXPLook::MenuDrawItem(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!active_ || !item)
        return;
    if (colorsChanged_)
        UpdateColors(canvas);
    if (IsTop(*item)) {
        DrawTopItem(*item, canvas, rect, selected);
        return;
    }
    canvas.Font.Assign(Font);
    const TRect r = rect;
    const String text = " " + item->Caption;
    const TMenu* menu = item->GetParentMenu();
    const bool rtl = menu && menu->RightToLeft;
    TImageList own;
    int index = -1;
    const TImageList* images = ItemIcon(*item, own, index);
    const bool hasIcon = images && index >= 0 && index < images->Count();
    const int iconW = hasIcon ? images->Width : 0;
    TRect gutter, check;
    GutterAndCheck(r, rtl, iconW, gutter, check);
    TRect textRect = rtl ? TRect{r.Left, r.Top, r.Right - (iconW > IconWidth ? iconW + 8 : IconWidth), r.Bottom}
                         : TRect{r.Left + (iconW > IconWidth ? iconW + 4 : IconWidth), r.Top, r.Right, r.Bottom};

    canvas.Brush.Style = bsSolid;
    if (Gradient && FIsTrueColor) {
        DrawGradientGutter(canvas, TRect{r.Left, r.Top, r.Right + 2, r.Bottom}, rtl);
    } else {
        canvas.Brush.Color = FFColor;
        canvas.FillRect(TRect{r.Left - 4, r.Top, r.Right, r.Bottom});
        canvas.Brush.Color = FFIconBackColor;
        canvas.FillRect(gutter);
    }
    canvas.Font.SetColor(item->Enabled ? Font.Color() : DisabledColor());

    if (selected && DrawSelect && item->Enabled && !IsLine(*item)) {
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = FFSelectColor;
        canvas.Pen.Style = psSolid;
        canvas.Pen.Color = FFSelectBorderColor;
        canvas.Rectangle(r.Left, r.Top + 1, r.Right - (FlatMenu ? 1 : 0), r.Bottom - 1);
    }
    if (item->Checked)
        DrawCheckedItem(canvas, check, hasIcon, selected, item->Enabled, item->RadioItem);
    if (hasIcon) {
        int x = iconW < IconWidth ? gutter.Left - 1 + (IconWidth - iconW) / 2
                                  : (rtl ? gutter.Right - iconW - 2 : gutter.Left + 2);
        int y = gutter.Top + 1 + 2;
        if (selected && item->Enabled && !item->Checked) {
            x -= 1;
            y -= 1;
        }
        DrawIcon(canvas, *images, index, x, y, selected, item->Enabled, item->Checked);
    }
    if (IsLine(*item)) {
        canvas.Pen.Style = psSolid;
        canvas.Pen.Color = FFSeparatorColor;
        const int middle = static_cast<int>(std::lround((textRect.Top + textRect.Bottom) / 2.0));
        canvas.MoveTo(rtl ? textRect.Left : textRect.Left + 7, middle);
        canvas.LineTo(rtl ? textRect.Right - 7 : textRect.Right, middle);
        return;
    }
    if (rtl)
        textRect.Right -= 3;
    else
        textRect.Left += 3;
    textRect.Top += (textRect.Bottom - textRect.Top - canvas.TextHeight("W")) / 2;
    DrawItemText(canvas, text, ShortCutToText(item->ShortCut), textRect, selected, item->Enabled, item->Default, rtl);
}

const TImageList* TXPLook::ItemIcon(const TMenuItem& item, TImageList& own, int& index)
{
    if (TImageList* images = item.GetImageList(); images && item.ImageIndex != -1) {
        index = item.ImageIndex;
        return images;
    }
    if (item.Bitmap.Width() <= 0)
        return nullptr;
    // The item's own bitmap, its transparent colour see-through.
    own.Width = item.Bitmap.Width();
    own.Height = item.Bitmap.Height();
    own.Clear();
    own.AddMasked(item.Bitmap, item.Bitmap.TransparentColor());
    index = 0;
    return &own;
}

void TXPLook::GutterAndCheck(const TRect& r, bool rtl, int iconWidth, TRect& gutter, TRect& check) const
{
    // The gutter and the check box stand at the right of a right-to-left menu.
    gutter = rtl ? TRect{r.Right - IconWidth, r.Top, r.Right, r.Bottom} : TRect{r.Left, r.Top, r.Left + IconWidth, r.Bottom};
    if (iconWidth > 0) {
        check = {gutter.Left + 1, gutter.Top + 2, gutter.Right - 3, gutter.Bottom - 2};
        // A wider icon widens the box away from the menu's edge.
        if (iconWidth > IconWidth) {
            if (rtl)
                check.Left = check.Right - iconWidth;
            else
                check.Right = check.Left + iconWidth;
        }
        return;
    }
    const int left = gutter.Left + (IconWidth - 10) / 2, top = gutter.Top + (r.Bottom - r.Top - 10) / 2;
    check = {left, top, left + 10, top + 10};
}

void TXPLook::DrawCheckedItem(TCanvas& canvas, const TRect& check, bool hasIcon, bool selected, bool enabled,
                              bool radio)
{
    TColor pen = hasIcon || radio ? FFSelectBorderColor : FFCheckedColor;
    if (!enabled)
        pen = FFDisabledColor;
    canvas.Pen.Style = psSolid;
    canvas.Pen.Color = pen;
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = selected ? FFCheckedAreaSelectedColor : FFCheckedAreaColor;
    if (radio) {
        if (hasIcon) {
            RoundRect(canvas, check, 6, 6);
            return;
        }
        canvas.Ellipse(check.Left, check.Top, check.Right, check.Bottom);
        canvas.Brush.Color = pen;
        canvas.Ellipse(check.Left + 2, check.Top + 2, check.Right - 2, check.Bottom - 2);
        return;
    }
    canvas.Rectangle(check);
    if (hasIcon)
        return;
    canvas.Pen.Color = enabled ? clBlack : FFDisabledColor;
    const int L = check.Left, T = check.Top, R = check.Right, B = check.Bottom;
    const int lines[5][4] = {{L + 1, T + 5, L + 4, B - 2}, {L + 2, T + 5, L + 4, B - 3}, {L + 2, T + 4, L + 5, B - 3},
                             {L + 4, B - 3, R + 2, T - 1}, {L + 4, B - 2, R - 2, T + 3}};
    for (const auto& l : lines) {
        canvas.MoveTo(l[0], l[1]);
        canvas.LineTo(l[2], l[3]);
    }
}

void TXPLook::DrawGradientGutter(TCanvas& canvas, const TRect& r, bool rtl)
{
    // One-pixel columns lightening faster across the gutter, from the gutter's edge inwards.
    int p = 0;
    const int count = r.Right - r.Left;
    for (int i = 0; i < count; ++i) {
        const int x = rtl ? r.Right - 1 - i : r.Left + i;
        canvas.Brush.Color = LightenColor(FFIconBackColor, p);
        canvas.FillRect(TRect{x, r.Top, x + 1, r.Bottom});
        const bool inGutter = rtl ? (x > r.Right - IconWidth + 5 && x < r.Right) : (x > r.Left && x < r.Left + IconWidth + 5);
        p = std::min(p + (inGutter ? 3 : 1), 96);
    }
}
