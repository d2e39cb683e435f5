#pragma once
// Menus: items with captions, hints, pictures and click events, and popup menus.
#include "ImgList.h"

#include <memory>
#include <vector>

class QMenu;
class QAction;

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
    TNotifyEvent OnClick;
    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(i); }
    TMenuItem* Parent() const { return parent_; }
    bool IsLine() const { return Caption == "-"; }
    virtual void Click() { Fire(OnClick, this); }

private:
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    TMenuItem& Items() { return *items_; }
    TImageList* Images = nullptr;
    TNotifyEvent OnPopup;
    // Which side of the point the menu opens on, and the control that opened it last.
    TPopupAlignment Alignment = paLeft;
    TComponent* PopupComponent = nullptr;
    // Shows the menu at a screen position and runs the chosen item's click.
    virtual void Popup(int x, int y);
    // The Qt menu built from the items, for tool buttons that drop it down.
    QMenu* BuildMenu();

private:
    std::unique_ptr<TMenuItem> items_;
    std::unique_ptr<QMenu> menu_;
    bool popupHooked_ = false;
};
