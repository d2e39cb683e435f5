#pragma once
// The colours of a selected item in the HTML list box: a plain fill in ColorFrom, or with
// ColorTo set a gradient from ColorFrom to ColorTo framed in BorderColor.
#include "Graphics.h"

class TGradientStyle : public TPersistent {
public:
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor c) { colorTo_ = c; Fire(OnChange, this); }
    TColor ColorFrom() const { return colorFrom_; }
    void SetColorFrom(TColor c) { colorFrom_ = c; Fire(OnChange, this); }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor c) { borderColor_ = c; Fire(OnChange, this); }
    TNotifyEvent OnChange;
    // True: the colours step from left to right; false: from top to bottom.
    bool Direction = false;

    // Copies the three colours of another gradient style (not Direction), then notifies.
    void Assign(const TPersistent& source) override
    {
        auto* other = dynamic_cast<const TGradientStyle*>(&source);
        if (!other)
            return;
        borderColor_ = other->borderColor_;
        colorTo_ = other->colorTo_;
        colorFrom_ = other->colorFrom_;
        Fire(OnChange, this);
    }

private:
    TColor colorTo_ = clNone;
    TColor colorFrom_ = clHighlight;
    TColor borderColor_ = clHighlight;
};
