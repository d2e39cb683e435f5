#include "RadioGroup.h"

#include <QLayout>
#include <QVBoxLayout>
#include <QWidget>

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner) { Widget()->setLayout(new QVBoxLayout); }

void TRadioGroup::SetItems(const std::vector<String>& items)
{
    for (TRadioButton* b : buttons_)
        delete b;
    buttons_.clear();
    itemIndex_ = -1;
    for (size_t i = 0; i < items.size(); ++i) {
        auto* button = new TRadioButton(this);
        button->SetParent(this);
        button->SetCaption(items[i]);
        Widget()->layout()->addWidget(button->Widget());
        button->OnClick = [this, i](TObject*) {
            itemIndex_ = static_cast<int>(i);
            Click();
        };
        buttons_.push_back(button);
    }
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < -1 || index >= ItemCount())
        return;
    itemIndex_ = index;
    for (int i = 0; i < ItemCount(); ++i)
        buttons_[i]->SetChecked(i == index);
}
