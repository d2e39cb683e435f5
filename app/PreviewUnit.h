#pragma once
// The print preview window.
#include "Forms.h"

class TPreviewForm : public TForm {
public:
    explicit TPreviewForm(TComponent* owner);
    ~TPreviewForm() override;
};

extern TPreviewForm* PreviewForm;
