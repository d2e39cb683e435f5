#pragma once
// Menus: items with captions, hints, pictures and click events, and popup menus.
#include "ImgList.h"

#include <cstdint>
#include <memory>
#include <vector>

class QMenu;
class QAction;

class TMenuItem;
class TMenu;

// The outline of a popup-menu window: the parts of its rectangle it shows.
class TMenuWindowRegion {
public:
    virtual ~TMenuWindowRegion() = default;
    // The bounds of the outline; empty while the window shows its whole rectangle.
    virtual TRect Box() const = 0;
    // The window shows the two rectangles only, until it closes.
    virtual void SetUnion(const TRect& a, const TRect& b) = 0;
};
class TPopupMenu;

// A key with its modifiers: the key code in the low byte, scShift, scCtrl, scAlt above it.
using TShortCut = uint16_t;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
// "Ctrl+S", "Shift+F4", "Del": the text a menu shows for a shortcut; empty for none.
String ShortCutToText(TShortCut shortCut);

// The room a menu keeps for a check mark beside the width an owner-drawn item asks for.
constexpr int MenuCheckMarkRoom = 12;

// Owner drawing of menu items: the handler sizes the item (Width, Height come in as the
// platform's default) and paints it in Rect of the canvas.
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    String Caption;   // "-" makes a separator
    String Hint;
    int ImageIndex = -1;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    // Checked shows a round mark instead of a tick.
    bool RadioItem = false;
    // The item a double click on its parent would run: shown in bold.
    bool Default = false;
    // Shown beside the caption; 0 for none.
    TShortCut ShortCut = 0;
    TNotifyEvent OnClick;
    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(i); }
    TMenuItem* Parent() const { return parent_; }
    bool IsLine() const { return Caption == "-"; }
    virtual void Click() { Fire(OnClick, this); }
    // Used only while the menu's OwnerDraw is on.
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    // The item's own picture, shown when it has no image from an image list; its transparent
    // colour is see-through.
    TBitmap Bitmap;
    // The images of this item's own items, in place of the menu's.
    TImageList* SubMenuImages = nullptr;
    // The image list of the menu the item belongs to (its parent's SubMenuImages first), or nullptr.
    TImageList* GetImageList() const;
    TMenu* GetParentMenu() const;
    // Its place among its parent's items; -1 without a parent.
    int MenuIndex() const;

private:
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

// What popup menus and a form's main menu share: the items, their pictures and their drawing.
class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem& Items() { return *items_; }
    TImageList* Images = nullptr;
    // Items with a draw handler are then sized and painted by their handlers.
    bool OwnerDraw = false;
    // Off: adjacent, leading and trailing separators are all shown.
    bool AutoLineReduction = true;
    // The menu reads right to left: it opens mirrored and its items are drawn mirrored.
    bool RightToLeft = false;
    // Draws over each window of the menu (the menu and its sub-menus) once it has painted
    // itself. The window's canvas holds what the menu drew (it can be read back), Rect is the
    // whole window, and the window's outline can leave parts of Rect see-through.
    std::function<void(TCanvas& canvas, const TRect& rect, TMenuWindowRegion& region)> OnPaintWindow;

    // Platform side: fills a Qt menu with entries for the items' own items.
    void FillMenu(QMenu* menu, TMenuItem& parent);
    // Lets OnPaintWindow draw over the Qt menu and its sub-menus.
    void HookWindows(QMenu* menu);

private:
    std::unique_ptr<TMenuItem> items_;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    TNotifyEvent OnPopup;
    // Which side of the point the menu opens on, and the control that opened it last.
    TPopupAlignment Alignment = paLeft;
    TComponent* PopupComponent = nullptr;
    // Opens by itself on a right click of its control (or a press of a button it drops down
    // from); off, it opens only when the program calls Popup.
    bool AutoPopup = true;
    // Shows the menu at a screen position and runs the chosen item's click.
    virtual void Popup(int x, int y);
    // The Qt menu built from the items, for tool buttons that drop it down.
    QMenu* BuildMenu();

protected:
    // Runs each time the menu is about to show, before its entries are made again from the items.
    virtual void PreparePopup() {}

private:
    void FillMenu();
    std::unique_ptr<QMenu> menu_;
    bool popupHooked_ = false;
};
