#include "helpUnit.h"

Thelpform* helpform = nullptr;

Thelpform::Thelpform(TComponent* owner) : TForm(owner)
{
    helpform = this;
    SetCaption("Ombrelle Help");
    SetColor(clWhite);
    SetBounds(0, 0, 709, 579);
    SetBorderStyle(bsSizeable);
    Position = poScreenCenter;
    Created();
}

Thelpform::~Thelpform()
{
    Destroying();
    if (helpform == this)
        helpform = nullptr;
}
