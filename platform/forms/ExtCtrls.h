#pragma once
// Panels, picture controls, paint boxes and timers.
#include "Controls.h"

#include <memory>

class QTimer;

enum TBevelCut { bvNone, bvLowered, bvRaised };

// The class library's 3-D frame: Width one-pixel rings, top and left in TopColor, bottom and right
// (the top-right corner included) in BottomColor; Rect moves in by Width.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width = 1);

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* owner);
    TBevelCut BevelOuter = bvRaised;
    TBevelCut BevelInner = bvNone;
    int BevelWidth = 1;
    int Alignment = 1;  // 0 left, 1 centre, 2 right
    void Paint() override;
};

// Shows a picture; with Stretch it fills the control.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    TPicture& Picture() { return picture_; }
    bool Stretch = false;
    bool Center = false;
    bool Proportional = false;
    void Paint() override;

private:
    TPicture picture_;
};

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* owner) : TGraphicControl(owner) {}
    TNotifyEvent OnPaint;
    void Paint() override { Fire(OnPaint, this); }
};

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    TNotifyEvent OnTimer;

private:
    void Update();
    std::unique_ptr<QTimer> timer_;
    int interval_ = 1000;
    bool enabled_ = true;
};
