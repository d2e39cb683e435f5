#include "Program.h"

#include "GlyphConsts.h"
#include "PictureFormats.h"
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
    // The application owns its windows, so that each one made is told to the others' components.
    new TDVDForm(Application());
    new TPreviewForm(Application());
    new Thelpform(Application());
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
