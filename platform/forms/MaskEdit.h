#pragma once
// The masked edit: an edit of its own class name, which the XP look decorates as its own kind.
#include "StdCtrls.h"

class TMaskEdit : public TEdit {
public:
    using TEdit::TEdit;
};
