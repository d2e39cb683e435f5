#pragma once
// The tab control: a row of tabs over one client area whose controls stay whatever tab is
// chosen; the program reacts to the choice.
#include "Controls.h"

class QTabBar;

class TTabControl : public TWinControl {
public:
    explicit TTabControl(TComponent* owner);
    TStringList& Tabs() { return tabs_; }
    // -1 when there are no tabs.
    int TabIndex() const;
    void SetTabIndex(int index);
    TNotifyEvent OnChange;
    // The client area lies below the tabs.
    void AdjustClientRect(TRect& rect) override;

private:
    void SyncTabs();
    TStringList tabs_;
    QTabBar* bar_;
};
