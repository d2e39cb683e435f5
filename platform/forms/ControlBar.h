#pragma once
// The control bar: each control placed on it stands on a band with a grip at its left and a
// frame round it, the bands side by side. A band-paint handler may draw a band itself.
#include "Controls.h"

enum : unsigned { bpoGrabber = 1, bpoFrame = 2, bpoGradient = 4, bpoRoundRect = 8 };
using TBandPaintOptions = unsigned;
// Rect is the band, in the bar's co-ordinates; what the handler leaves in Options the bar
// still draws.
using TBandPaintEvent =
    std::function<void(TObject* sender, TControl* control, TCanvas& canvas, TRect& rect, TBandPaintOptions& options)>;

// A band as the bars draw it: a raised frame (frame) and a grip of two raised lines at its left
// (grip).
void DrawBand(TCanvas& canvas, const TRect& band, bool frame, bool grip);

// What the bars of bands share: each control placed on the bar stands on a band.
class TCustomBandBar : public TCustomControl {
public:
    explicit TCustomBandBar(TComponent* owner);
    // The band of a control on the bar.
    virtual TRect BandRect(const TControl* control) const = 0;
    // The bar's colour, then each visible control's band.
    void Paint() override;

protected:
    virtual void PaintBand(TCanvas& canvas, TControl* control, TRect band) { DrawBand(canvas, band, true, true); }
};

class TControlBar : public TCustomBandBar {
public:
    explicit TControlBar(TComponent* owner);
    // Room at a band's left for its grip, and round the control for the frame.
    static constexpr int GripWidth = 11;
    static constexpr int BandBorder = 2;
    TBandPaintEvent OnBandPaint;
    TRect BandRect(const TControl* control) const override;
    void Realign() override;

protected:
    void PaintBand(TCanvas& canvas, TControl* control, TRect band) override;
};
