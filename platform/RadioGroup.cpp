#include "RadioGroup.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner) { Widget()->setLayout(new QVBoxLayout); }

void TRadioGroup::SetItems(const std::vector<String>& items)
{
    for (QRadioButton* b : buttons_)
        delete b;
    buttons_.clear();
    itemIndex_ = -1;
    for (size_t i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(QString::fromStdString(items[i]));
        Widget()->layout()->addWidget(button);
        QObject::connect(button, &QRadioButton::clicked, [this, i] {
            itemIndex_ = static_cast<int>(i);
            GuardedCall([this] { Click(); });
        });
        buttons_.push_back(button);
    }
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < -1 || index >= ItemCount())
        return;
    itemIndex_ = index;
    for (int i = 0; i < ItemCount(); ++i) {
        QSignalBlocker block(buttons_[i]);
        buttons_[i]->setAutoExclusive(false);
        buttons_[i]->setChecked(i == index);
        buttons_[i]->setAutoExclusive(true);
    }
}
