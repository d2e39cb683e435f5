#pragma once
// The page scroller: shows one control wider (or taller) than itself through a window, with an
// arrow button at each end that scrolls it.
#include "Controls.h"

class QToolButton;

enum TPageScrollerOrientation { soHorizontal, soVertical };

class TPageScroller : public TWinControl {
public:
    explicit TPageScroller(TComponent* owner);
    QWidget* HostWidget() const override { return view_; }
    // The control scrolled; a child of the scroller.
    TControl* Control() const { return control_; }
    void SetControl(TControl* control);
    TPageScrollerOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPageScrollerOrientation value);
    int ButtonSize = 12;
    // Pixels a click on an arrow scrolls.
    int Increment = 12;
    // How far the control is scrolled, from 0 to its length less the window's.
    int Position() const { return position_; }
    void SetPosition(int value);
    void Realign() override;

private:
    int Range() const;
    QWidget* view_;
    QToolButton* back_;
    QToolButton* forward_;
    TControl* control_ = nullptr;
    TPageScrollerOrientation orientation_ = soHorizontal;
    int position_ = 0;
};
