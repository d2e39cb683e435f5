#include "PreviewUnit.h"

TPreviewForm* PreviewForm = nullptr;

TPreviewForm::TPreviewForm(TComponent* owner) : TForm(owner)
{
    PreviewForm = this;
    SetCaption("Preview Cover");
    SetColor(clWhite);
    SetClientWidth(916);
    SetClientHeight(730);
    SetBorderStyle(bsDialog);
    Position = poScreenCenter;
    Created();
}

TPreviewForm::~TPreviewForm()
{
    Destroying();
    if (PreviewForm == this)
        PreviewForm = nullptr;
}
