#pragma once
// The hot-key control: the user presses a key combination and the control shows and keeps it.
#include "Controls.h"
#include "Menus.h"

class QKeySequenceEdit;

class THotKey : public TWinControl {
public:
    explicit THotKey(TComponent* owner);
    // 0 for none.
    TShortCut HotKey() const;
    void SetHotKey(TShortCut value);
    TNotifyEvent OnChange;
    bool HandleEvent(QEvent* event) override;

private:
    QKeySequenceEdit* edit_;
};
