#pragma once
// The help window.
#include "Forms.h"

class Thelpform : public TForm {
public:
    explicit Thelpform(TComponent* owner);
    ~Thelpform() override;
};

extern Thelpform* helpform;
