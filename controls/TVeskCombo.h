#pragma once
// A combo box whose items carry a second list of values: the text shown and the value used
// can differ. Whoever fills the two lists keeps them parallel; an item at or beyond the count
// of LookUpItems has no value.
#include "StdCtrls.h"

class TVeskLookupCombo : public TComboBox {
public:
    explicit TVeskLookupCombo(TComponent* owner, TComboBoxStyle style = csDropDown) : TComboBox(owner, style) {}
    TStringList& LookUpItems() { return lookUpItems_; }
    // Copies the strings; the list object stays the same.
    void SetLookUpItems(const TStrings& items) { lookUpItems_.Assign(items); }
    // The value of the selected item; false when none is selected or it has no value.
    bool SelectedLookUp(String& value) const;

private:
    TStringList lookUpItems_;
};
