#include "CheckBoxes.h"

#include <QCheckBox>
#include <QRadioButton>

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner), box_(new QCheckBox)
{
    SetWidget(box_);
    SetTabStop(true);
    QObject::connect(box_, &QCheckBox::clicked, [this] {
        box_->setTristate(allowGrayed_);
        GuardedCall([this] { Click(); });
    });
}

void TCheckBox::SetCaption(const String& text)
{
    caption_ = text;
    box_->setText(QString::fromStdString(text));
}

TCheckBoxState TCheckBox::State() const
{
    switch (box_->checkState()) {
    case Qt::Checked: return cbChecked;
    case Qt::PartiallyChecked: return cbGrayed;
    default: return cbUnchecked;
    }
}

void TCheckBox::SetState(TCheckBoxState state)
{
    box_->setCheckState(state == cbChecked ? Qt::Checked : state == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    // Showing the grayed state does not let the user's clicks reach it (see the click handler).
    box_->setTristate(allowGrayed_ || state == cbGrayed);
}

void TCheckBox::SetAllowGrayed(bool allow)
{
    allowGrayed_ = allow;
    box_->setTristate(allow);
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner), button_(new QRadioButton)
{
    SetWidget(button_);
    SetTabStop(true);
    QObject::connect(button_, &QRadioButton::clicked, [this] { GuardedCall([this] { Click(); }); });
}

void TRadioButton::SetCaption(const String& text)
{
    caption_ = text;
    button_->setText(QString::fromStdString(text));
}

bool TRadioButton::Checked() const { return button_->isChecked(); }

void TRadioButton::SetChecked(bool checked)
{
    // Qt keeps the checked button of an exclusive set checked; code may clear it all the same.
    const bool exclusive = button_->autoExclusive();
    button_->setAutoExclusive(exclusive && checked);
    button_->setChecked(checked);
    button_->setAutoExclusive(exclusive);
}
