#pragma once
// The cool bar: each control placed on it stands on a band of its own with a grip at the band's
// left; the bands stand side by side in rows, a band that does not fit starting a new row.
#include "ControlBar.h"

class TCoolBar : public TCustomBandBar {
public:
    explicit TCoolBar(TComponent* owner);
    // Room at a band's left for its grip.
    static constexpr int GripWidth = 12;
    TRect BandRect(const TControl* control) const override;
    void Realign() override;
};
