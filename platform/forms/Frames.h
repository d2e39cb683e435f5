#pragma once
// A frame: a container that owns the controls placed on it, so that a set of controls can be
// placed as one on any form.
#include "Controls.h"

class TFrame : public TCustomControl {
public:
    explicit TFrame(TComponent* owner) : TCustomControl(owner) {}
};
