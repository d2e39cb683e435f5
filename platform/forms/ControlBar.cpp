#include "ControlBar.h"

#include "ExtCtrls.h"

void DrawBand(TCanvas& canvas, const TRect& band, bool frame, bool grip)
{
    if (frame) {
        TRect r = band;
        Frame3D(canvas, r, clBtnHighlight, clBtnShadow);
    }
    if (grip)
        for (int x : {3, 6}) {
            TRect line{band.Left + x, band.Top + 2, band.Left + x + 3, band.Bottom - 2};
            Frame3D(canvas, line, clBtnHighlight, clBtnShadow);
        }
}

TCustomBandBar::TCustomBandBar(TComponent* owner) : TCustomControl(owner) {}

void TCustomBandBar::Paint()
{
    TCanvas& c = Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = Color();
    c.FillRect(ClientRect());
    for (int i = 0; i < ControlCount(); ++i)
        if (TControl* control = Controls(i); control->Visible())
            PaintBand(c, control, BandRect(control));
}

TControlBar::TControlBar(TComponent* owner) : TCustomBandBar(owner)
{
    SetAlign(alTop);
}

TRect TControlBar::BandRect(const TControl* control) const
{
    return {control->Left() - GripWidth - BandBorder, control->Top() - BandBorder,
            control->Left() + control->Width() + BandBorder, control->Top() + control->Height() + BandBorder};
}

void TControlBar::Realign()
{
    int x = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible())
            continue;
        c->SetBounds(x + GripWidth + BandBorder, BandBorder, c->Width(), c->Height());
        x += GripWidth + c->Width() + 2 * BandBorder;
    }
}

void TControlBar::PaintBand(TCanvas& canvas, TControl* control, TRect band)
{
    TBandPaintOptions options = bpoGrabber | bpoFrame;
    Fire(OnBandPaint, this, control, canvas, band, options);
    DrawBand(canvas, band, options & bpoFrame, options & bpoGrabber);
}
