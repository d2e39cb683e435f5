#include "TabControl.h"

#include <QTabBar>

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner)
{
    auto* area = new QWidget;
    bar_ = new QTabBar(area);
    bar_->setDrawBase(true);
    SetWidget(area);
    tabs_.OnChange = [this](TObject*) { SyncTabs(); };
    QObject::connect(bar_, &QTabBar::currentChanged, [this] { GuardedCall([this] { Fire(OnChange, this); }); });
}

void TTabControl::SyncTabs()
{
    const QSignalBlocker quiet(bar_);
    while (bar_->count() > 0)
        bar_->removeTab(0);
    for (int i = 0; i < tabs_.Count(); ++i)
        bar_->addTab(QString::fromStdString(tabs_[i]));
    bar_->resize(bar_->sizeHint());
    Realign();
}

int TTabControl::TabIndex() const { return bar_->currentIndex(); }

void TTabControl::SetTabIndex(int index)
{
    const QSignalBlocker quiet(bar_);
    bar_->setCurrentIndex(index);
}

void TTabControl::AdjustClientRect(TRect& rect)
{
    rect.Top += bar_->count() > 0 ? bar_->sizeHint().height() : 0;
}
