#include "Program.h"

#include "PreviewUnit.h"
#include "PrintUnit.h"
#include "helpUnit.h"

void CreateStartupForms()
{
    RegisterPictureFormats();
    Application()->Initialize();
    new TDVDForm(nullptr);
    new TPreviewForm(nullptr);
    new Thelpform(nullptr);
}

void FreeStartupForms()
{
    delete helpform;
    delete PreviewForm;
    delete DVDForm;
}

int RunProgram()
{
    CreateStartupForms();
    Application()->Run();
    FreeStartupForms();
    return 0;
}
