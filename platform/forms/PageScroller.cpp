#include "PageScroller.h"

#include <QToolButton>

#include <algorithm>

TPageScroller::TPageScroller(TComponent* owner) : TWinControl(owner)
{
    auto* area = new QWidget;
    view_ = new QWidget(area);
    back_ = new QToolButton(area);
    forward_ = new QToolButton(area);
    SetWidget(area);
    QObject::connect(back_, &QToolButton::clicked, [this] { SetPosition(position_ - Increment); });
    QObject::connect(forward_, &QToolButton::clicked, [this] { SetPosition(position_ + Increment); });
    SetOrientation(soHorizontal);
}

void TPageScroller::SetControl(TControl* control)
{
    control_ = control;
    if (control_ && control_->Parent() != this)
        control_->SetParent(this);
    Realign();
}

void TPageScroller::SetOrientation(TPageScrollerOrientation value)
{
    orientation_ = value;
    back_->setArrowType(value == soHorizontal ? Qt::LeftArrow : Qt::UpArrow);
    forward_->setArrowType(value == soHorizontal ? Qt::RightArrow : Qt::DownArrow);
    Realign();
}

int TPageScroller::Range() const
{
    if (!control_)
        return 0;
    return orientation_ == soHorizontal ? std::max(0, control_->Width() - view_->width())
                                        : std::max(0, control_->Height() - view_->height());
}

void TPageScroller::SetPosition(int value)
{
    position_ = std::clamp(value, 0, Range());
    Realign();
}

void TPageScroller::Realign()
{
    const int w = Width(), h = Height(), b = ButtonSize;
    if (orientation_ == soHorizontal) {
        back_->setGeometry(0, 0, b, h);
        forward_->setGeometry(w - b, 0, b, h);
        view_->setGeometry(b, 0, std::max(0, w - 2 * b), h);
    } else {
        back_->setGeometry(0, 0, w, b);
        forward_->setGeometry(0, h - b, w, b);
        view_->setGeometry(0, b, w, std::max(0, h - 2 * b));
    }
    if (!control_)
        return;
    position_ = std::clamp(position_, 0, Range());
    if (orientation_ == soHorizontal)
        control_->SetBounds(-position_, 0, control_->Width(), view_->height());
    else
        control_->SetBounds(0, -position_, view_->width(), control_->Height());
}
