#pragma once
// A form's main menu: its top-level items stand on a bar along the top of the window, each
// opening its own items below it.
#include "Menus.h"

#include <QPointer>

class QMenuBar;
class QWidget;

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    // The bar shows the items as they are now (after items, captions or the drawing changed).
    void UpdateItems();
    // A point of the screen in the bar's co-ordinates, which are those of its items' rectangles.
    TPoint ScreenToBar(const TPoint& screen) const;
    // Where a top-level item stands on the bar; empty when it is not shown.
    TRect ItemRect(const TMenuItem* item) const;

    // Platform side: the bar, a child of the form's window, and its height there; OnBarChange
    // (the form's) runs when the bar's items were made anew.
    void AttachTo(QWidget* window);
    std::function<void()> OnBarChange;
    QMenuBar* Bar() const;
    int BarHeight() const;

private:
    QPointer<QMenuBar> bar_;
};
