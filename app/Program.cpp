#include "Program.h"

#include "GlyphConsts.h"
#include "PreviewUnit.h"
#include "PrintUnit.h"
#include "ThemeLoader.h"
#include "helpUnit.h"

void CreateStartupForms()
{
    RegisterPictureFormats();
    LoadThemeLibrary();
    RegisterGlyphCursors();
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
    FreeThemeLibrary();
}

int RunProgram()
{
    CreateStartupForms();
    Application()->Run();
    FreeStartupForms();
    return 0;
}
