#pragma once
// A gauge that shows a whole-number percentage as text, a horizontal or a vertical bar. The
// bar is two stacked colour gradients and the text is laid over it by exclusive-or, so it
// stays readable on any colour. Everything is drawn off screen and shown in one copy.
// Its properties are window state: set them on the user-interface thread.
#include "Controls.h"
#include "Forms.h"

#include <cstdint>

enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar };
// bsNone or bsSingle, as for forms.
using TBorderStyle = TFormBorderStyle;

// Fills r with Bands solid bands from ColorStart to ColorEnd: Direction 0 stacks them top to
// bottom, 1 places them left to right. False when Bands is below 1.
bool GradientFill(TCanvas& dc, const TRect& r, int bands, TColor colorStart, TColor colorEnd, int direction);

// The gauge's work bitmap.
class TBltBitmap : public TBitmap {
public:
    // Takes Source's size and fills itself with clWindowFrame.
    void MakeLike(TBitmap& source);
};

class TVeskGauge : public TGraphicControl {
public:
    explicit TVeskGauge(TComponent* owner);

    int MinValue() const { return minValue_; }
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value);
    int Progress() const { return progress_; }
    void SetProgress(int value);
    TGaugeKind Kind() const { return kind_; }
    void SetKind(TGaugeKind kind);
    bool ShowText() const { return showText_; }
    void SetShowText(bool show);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TColor ForeColor() const { return foreColor_; }
    void SetForeColor(TColor color);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor color);

    // Trunc((Progress - MinValue) x 100 / (MaxValue - MinValue)), 0 when the bounds are equal;
    // formed in 64 bits, so bounds far apart never overflow.
    int PercentDone() const;

    // Set while the control is read from a form description: the range checks are off.
    bool Loading = false;

    void Paint() override;

private:
    void PaintBar(TCanvas& canvas, const TRect& r);
    void PaintText(TBitmap& target, const TRect& r);
    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    TGaugeKind kind_ = gkHorizontalBar;
    bool showText_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    TColor foreColor_ = 0;
    TColor backColor_ = 16777215;
    TColor upperEnd_ = 10611967;
    TColor upperStart_ = 15006975;
    TColor lowerEnd_ = 8119551;
    TColor lowerStart_ = 4446463;
};
