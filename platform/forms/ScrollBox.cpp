#include "ScrollBox.h"

#include <QScrollArea>

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner), area_(new QScrollArea), contents_(new QWidget)
{
    area_->setWidget(contents_);
    area_->setWidgetResizable(false);
    contents_->setAutoFillBackground(false);
    SetWidget(area_);
    SetBorderStyle(bsSingle);
}

QWidget* TScrollBox::HostWidget() const { return contents_; }

void TScrollBox::Realign()
{
    TWinControl::Realign();
    int right = area_->viewport()->width(), bottom = area_->viewport()->height();
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (c->Visible()) {
            right = std::max(right, c->Left() + c->Width());
            bottom = std::max(bottom, c->Top() + c->Height());
        }
    }
    contents_->resize(right, bottom);
}
