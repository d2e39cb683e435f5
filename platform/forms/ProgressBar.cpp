#include "ProgressBar.h"

#include <QProgressBar>

#include <algorithm>

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner), bar_(new QProgressBar)
{
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    SetWidget(bar_);
}

int TProgressBar::Min() const { return bar_->minimum(); }
void TProgressBar::SetMin(int value) { bar_->setMinimum(value); }
int TProgressBar::Max() const { return bar_->maximum(); }
void TProgressBar::SetMax(int value) { bar_->setMaximum(value); }
int TProgressBar::Position() const { return bar_->value(); }
void TProgressBar::SetPosition(int value) { bar_->setValue(std::clamp(value, Min(), std::max(Min(), Max()))); }
void TProgressBar::StepBy(int delta) { SetPosition(Position() + delta); }
