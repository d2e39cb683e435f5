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

// The state a custom-drawn item is in, member n at bit n.
enum : unsigned {
    cdsSelected = 1,  // pressed by the mouse, or its drop-down menu is open
    cdsGrayed = 2,
    cdsDisabled = 4,
    cdsChecked = 8,   // a button that is down
    cdsFocused = 16,
    cdsDefault = 32,
    cdsHot = 64,      // under the mouse
    cdsMarked = 128,
    cdsIndeterminate = 256,
};
using TCustomDrawState = unsigned;

class TToolBar;
class TToolButton;

// Custom drawing of a tool bar on its Canvas, in the bar's coordinates: the background (Rect
// is the client area), then each button (its BoundsRect). Clearing DefaultDraw keeps the
// platform's own drawing of it out.
using TTBCustomDrawEvent = std::function<void(TToolBar* sender, const TRect& rect, bool& defaultDraw)>;
using TTBCustomDrawBtnEvent =
    std::function<void(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw)>;

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
    // The menu item the button stands for, as on a tool bar that serves as a menu bar.
    void SetMenuItem(TMenuItem* item);
    TMenuItem* MenuItem() const { return menuItem_; }
    // A check button that is pressed in.
    bool Down() const;
    void SetDown(bool down);
    bool Indeterminate = false;
    void Click() override { Fire(OnClick, this); }
    void ParentChanged() override;
    // Lets go of its menu and menu item when they are freed.
    void Notification(TComponent* component, TOperation operation) override;
    // The state the bar's button handler is given: hot while the pointer is over the button.
    TCustomDrawState DrawState() const;
    // How far inside the button's edges the focus frame runs.
    static constexpr int FocusInset = 3;

private:
    class ButtonWidget;
    void UpdateLook();
    QToolButton* button_;
    TToolButtonStyle style_ = tbsButton;
    int imageIndex_ = -1;
    TPopupMenu* menu_ = nullptr;
    TMenuItem* menuItem_ = nullptr;
};

// Lays its buttons out left to right in creation order; separators keep their own width.
class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);
    int ButtonWidth = 23;
    int ButtonHeight = 22;
    bool ShowCaptions = false;
    // Captions beside the images instead of under them.
    bool List = false;
    bool Flat = true;
    TImageList* Images = nullptr;
    TImageList* HotImages = nullptr;
    TImageList* DisabledImages = nullptr;
    // A transparent bar lets its parent show behind the buttons; unless set, a flat bar is.
    bool Transparent() const { return transparentSet_ ? transparent_ : Flat; }
    void SetTransparent(bool on)
    {
        transparent_ = on;
        transparentSet_ = true;
    }
    TTBCustomDrawEvent OnCustomDraw;
    TTBCustomDrawBtnEvent OnCustomDrawButton;
    TCanvas& Canvas() { return canvas_; }
    void Arrange();
    void Realign() override { Arrange(); }

    // Platform side: the custom drawing, painted on the given widget (the bar or a button).
    void CustomDraw(QWidget* widget);
    // False when the handler took the button's drawing over.
    bool CustomDrawButton(QWidget* widget, TToolButton* button);

private:
    class BarWidget;
    bool transparent_ = false;
    bool transparentSet_ = false;
};
