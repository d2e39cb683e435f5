#pragma once
// Hooks a control's event handling, the way a window procedure is subclassed: the hook hears of
// the events that change a control's look; a paint is first done by the control as usual, then
// the hook may draw over it.
#include "Controls.h"

#include <memory>

enum THookMessage {
    hmPaint,          // the control has painted itself; the canvas draws over it
    hmMouseEnter,
    hmMouseLeave,
    hmSetFocus,
    hmKillFocus,
    hmLButtonDown,
    hmLButtonUp,
    hmSpaceDown,      // also each key repeat
    hmSpaceUp,
    hmEnabledChanged,
    hmDestroy,        // the control's window goes away
    hmMouseMove,
    hmParentPaint,    // the parent has painted itself; the canvas draws on it, in its co-ordinates
    hmCheckChanged,   // a check box or radio button was checked or cleared
};

// canvas is set only for hmPaint.
using TControlHookProc = std::function<void(THookMessage message, TCanvas* canvas)>;

class TControlHook {
public:
    TControlHook(TControl* control, TControlHookProc proc);
    ~TControlHook();
    TControlHook(const TControlHook&) = delete;
    TControlHook& operator=(const TControlHook&) = delete;
    TControl* Control() const { return control_; }
    // The hook also hears hmParentPaint after each painting of the control's parent.
    void HookParentPaint();

private:
    class Filter;
    class SideFilter;
    TControl* control_;
    std::unique_ptr<Filter> filter_;
    std::unique_ptr<SideFilter> parentFilter_;
    std::unique_ptr<SideFilter> viewportFilter_;
};
