#pragma once
// Status bars and tool bars.
#include "ExtCtrls.h"
#include "ImgList.h"
#include "Menus.h"

#include <memory>
#include <vector>

class QLabel;
class QToolButton;

class TStatusPanels;

class TStatusPanel {
public:
    TStatusPanel(TStatusPanels& owner, QLabel* label) : owner_(owner), label_(label) {}
    String Text() const { return text_; }
    void SetText(const String& text);
    int Width() const { return width_; }
    void SetWidth(int width);

private:
    friend class TStatusPanels;
    TStatusPanels& owner_;
    QLabel* label_;
    String text_;
    int width_ = 50;
};

// The panels of a status bar, left to right, each as wide as its Width.
class TStatusPanels {
public:
    int Count() const { return static_cast<int>(panels_.size()); }
    TStatusPanel& operator[](int index) const;
    TStatusPanel& Add();

private:
    friend class TStatusBar;
    friend class TStatusPanel;
    void Arrange();
    class TStatusBar* bar_ = nullptr;
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);
    // Turn it off before adding Panels: the bar then shows them instead of SimpleText.
    bool SimplePanel = true;
    String SimpleText() const { return text_; }
    void SetSimpleText(const String& text);
    TStatusPanels Panels;

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
