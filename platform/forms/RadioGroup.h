#pragma once
// A group box of radio buttons, one per item, of which one is chosen.
#include "CheckBoxes.h"
#include "StdCtrls.h"

#include <vector>

class TRadioGroup : public TGroupBox {
public:
    explicit TRadioGroup(TComponent* owner);
    // Adds a radio button for each line; the group owns them.
    void SetItems(const std::vector<String>& items);
    int ItemCount() const { return static_cast<int>(buttons_.size()); }
    TRadioButton* Buttons(int index) const { return buttons_.at(index); }
    // -1 when none is chosen. Choosing from code does not fire OnClick.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

private:
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
};
