#pragma once
// Status bars and tool bars.
#include "ExtCtrls.h"
#include "ImgList.h"
#include "Menus.h"

class QLabel;
class QToolButton;

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);
    bool SimplePanel = true;
    String SimpleText() const { return text_; }
    void SetSimpleText(const String& text);

private:
    QLabel* label_;
    String text_;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;

class TToolButton : public TControl {
public:
    explicit TToolButton(TComponent* owner);
    void SetCaption(const String& text) override;
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle s);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    // The menu a drop-down button opens.
    void SetDropdownMenu(TPopupMenu* menu);
    TPopupMenu* DropdownMenu() const { return menu_; }
    void Click() override { Fire(OnClick, this); }
    void ParentChanged() override;

private:
    void UpdateLook();
    QToolButton* button_;
    TToolButtonStyle style_ = tbsButton;
    int imageIndex_ = -1;
    TPopupMenu* menu_ = nullptr;
};

// Lays its buttons out left to right in creation order; separators keep their own width.
class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);
    int ButtonWidth = 23;
    int ButtonHeight = 22;
    bool ShowCaptions = false;
    bool Flat = true;
    TImageList* Images = nullptr;
    void Arrange();
    void Realign() override { Arrange(); }
};
