#pragma once
// The help window: one mark-up panel showing the help page.
#include "Forms.h"
#include "ImgList.h"
#include "MarkupPanel.h"

class Thelpform : public TForm {
public:
    explicit Thelpform(TComponent* owner);
    ~Thelpform() override;

    TMarkupPanel* HTMLPanel1;
    TImageList* ImageList1;
};

extern Thelpform* helpform;

// The help page in mark-up.
const String& HelpPageText();
