#include "TVeskCombo.h"

bool TVeskLookupCombo::SelectedLookUp(String& value) const
{
    const int index = ItemIndex();
    if (index < 0 || index >= lookUpItems_.Count())
        return false;
    value = lookUpItems_[index];
    return true;
}
