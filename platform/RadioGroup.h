#pragma once
// A group box of radio buttons, one per item, of which one is chosen.
#include "StdCtrls.h"

#include <vector>

class QRadioButton;

class TRadioGroup : public TGroupBox {
public:
    explicit TRadioGroup(TComponent* owner);
    // Adds a radio button for each line.
    void SetItems(const std::vector<String>& items);
    int ItemCount() const { return static_cast<int>(buttons_.size()); }
    // -1 when none is chosen. Choosing from code does not fire OnClick.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

private:
    std::vector<QRadioButton*> buttons_;
    int itemIndex_ = -1;
};
