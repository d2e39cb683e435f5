#pragma once
// The page control: tabs along the top, each showing one tab sheet with its controls.
#include "Controls.h"

class QTabWidget;
class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    void SetCaption(const String& text) override;
    // Its parent, when that is a page control.
    TPageControl* PageControl() const;

protected:
    // A sheet placed on a page control becomes one of its pages.
    void ParentChanged() override;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    int PageCount() const;
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* sheet);
    TNotifyEvent OnChange;

    // Platform side.
    QTabWidget* Tabs() const { return tabs_; }

private:
    QTabWidget* tabs_;
};
