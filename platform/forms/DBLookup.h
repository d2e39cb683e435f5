#pragma once
// The data-aware lookup combo box: a drop-down list of its own class name, which painters
// recognise by that name. It is not one of the plain combo box kinds.
#include "StdCtrls.h"

class TDBLookupComboBox : public TComboBox {
public:
    explicit TDBLookupComboBox(TComponent* owner) : TComboBox(owner) { SetStyle(csDropDownList); }
};
