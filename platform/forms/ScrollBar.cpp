#include "ScrollBar.h"

#include <QScrollBar>
#include <algorithm>

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner), bar_(new QScrollBar(Qt::Horizontal))
{
    SetWidget(bar_);
    SetTabStop(true);
    QObject::connect(bar_, &QScrollBar::valueChanged, [this](int value) {
        if (!syncing_)
            GuardedCall([this, value] { SetPosition(value); });
    });
    Sync();
}

void TScrollBar::SetKind(TScrollBarKind kind)
{
    kind_ = kind;
    bar_->setOrientation(kind == sbVertical ? Qt::Vertical : Qt::Horizontal);
}

void TScrollBar::SetPosition(int position)
{
    position = std::clamp(position, min_, std::max(min_, max_));
    if (position == position_)
        return;
    position_ = position;
    Sync();
    Fire(OnChange, this);
}

void TScrollBar::SetMax(int max)
{
    max_ = max;
    position_ = std::clamp(position_, min_, std::max(min_, max_));
    Sync();
}

void TScrollBar::SetPageSize(int pageSize)
{
    pageSize_ = std::max(0, pageSize);
    Sync();
}

void TScrollBar::Sync()
{
    // The class library's Max is the far end of the page; Qt's maximum is the last position.
    syncing_ = true;
    bar_->setRange(min_, std::max(min_, max_ - std::max(pageSize_ - 1, 0)));
    bar_->setPageStep(std::max(pageSize_, 1));
    bar_->setSingleStep(SmallChange);
    bar_->setValue(position_);
    syncing_ = false;
}
