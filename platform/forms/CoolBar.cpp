#include "CoolBar.h"

#include <algorithm>

TCoolBar::TCoolBar(TComponent* owner) : TCustomBandBar(owner)
{
    SetAlign(alTop);
}

void TCoolBar::Realign()
{
    int x = 0, top = 0, rowHeight = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible())
            continue;
        const int band = GripWidth + c->Width() + 2;
        if (x > 0 && x + band > Width()) {
            x = 0;
            top += rowHeight;
            rowHeight = 0;
        }
        c->SetBounds(x + GripWidth, top + 2, c->Width(), c->Height());
        x += band;
        rowHeight = std::max(rowHeight, c->Height() + 4);
    }
}

TRect TCoolBar::BandRect(const TControl* control) const
{
    return {control->Left() - GripWidth, control->Top() - 2, control->Left() + control->Width() + 2,
            control->Top() + control->Height() + 2};
}
