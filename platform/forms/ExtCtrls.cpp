#include "ExtCtrls.h"

#include <QTimer>

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    for (int i = 0; i < width; ++i) {
        canvas.Pen.Color = topColor;
        canvas.MoveTo(rect.Left, rect.Bottom - 1);
        canvas.LineTo(rect.Left, rect.Top);
        canvas.LineTo(rect.Right - 1, rect.Top);
        canvas.Pen.Color = bottomColor;
        canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
        canvas.LineTo(rect.Left - 1, rect.Bottom - 1);
        rect = {rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
    }
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {}

void TPanel::Paint()
{
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    c.Brush.Color = Color();
    c.Brush.Style = bsSolid;
    c.FillRect(r);
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        if (cut == bvRaised)
            Frame3D(c, r, clBtnHighlight, clBtnShadow, BevelWidth);
        else
            Frame3D(c, r, clBtnShadow, clBtnHighlight, BevelWidth);
    };
    bevel(BevelOuter);
    r = {r.Left + BorderWidth(), r.Top + BorderWidth(), r.Right - BorderWidth(), r.Bottom - BorderWidth()};
    bevel(BevelInner);
    if (!caption_.empty()) {
        c.Font.Assign(Font);
        c.Brush.Style = bsClear;
        unsigned flags = DT_SINGLELINE | DT_VCENTER | (Alignment == 1 ? DT_CENTER : Alignment == 2 ? DT_RIGHT : DT_LEFT);
        c.DrawText(caption_, r, flags);
    }
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner)
{
    picture_.OnChange = [this](TObject*) { Invalidate(); };
}

void TImage::Paint()
{
    TGraphic* g = picture_.Graphic();
    if (!g || g->Empty())
        return;
    TRect r = Bounds(0, 0, g->Width(), g->Height());
    if (Stretch || (Proportional && (g->Width() > Width() || g->Height() > Height()))) {
        r = ClientRect();
        if (Proportional) {
            double scale = std::min(double(Width()) / g->Width(), double(Height()) / g->Height());
            r = Bounds(0, 0, static_cast<int>(g->Width() * scale), static_cast<int>(g->Height() * scale));
        }
    }
    if (Center)
        OffsetRect(r, (Width() - r.Width()) / 2, (Height() - r.Height()) / 2);
    Canvas().StretchDraw(r, *g);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(std::make_unique<QTimer>())
{
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { GuardedCall([this] { Fire(OnTimer, this); }); });
    Update();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int ms)
{
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool on)
{
    enabled_ = on;
    Update();
}

void TTimer::Update()
{
    timer_->stop();
    if (enabled_ && interval_ > 0)
        timer_->start(interval_);
}
