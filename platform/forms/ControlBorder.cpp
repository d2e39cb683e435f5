// The border of a windowed control: sunken (Ctl3D), flat or none, and the band inside it.
#include "Controls.h"

#include <QFrame>

void TWinControl::SetCtl3D(bool on)
{
    if (on == ctl3D_)
        return;
    ctl3D_ = on;
    ApplyBorder();
    Ctl3DChanged();
}

void TWinControl::SetBorderStyle(TBorderStyle style)
{
    borderStyle_ = style == bsNone ? bsNone : bsSingle;
    ApplyBorder();
}

void TWinControl::SetBorderWidth(int width)
{
    borderWidth_ = std::max(0, width);
    ApplyBorder();
}

void TWinControl::ApplyBorder()
{
    auto* frame = qobject_cast<QFrame*>(Widget());
    if (!frame)
        return;
    if (borderStyle_ == bsNone) {
        frame->setFrameStyle(QFrame::NoFrame);
    } else if (ctl3D_) {
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    } else {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
    }
    frame->setContentsMargins(borderWidth_, borderWidth_, borderWidth_, borderWidth_);
    frame->update();
}
