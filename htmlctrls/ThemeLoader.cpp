#include "ThemeLoader.h"

bool ThemeLibraryLoaded = false;
TThemeProcs ThemeProcs;

void LoadThemeLibrary()
{
    if (ThemeLibraryLoaded)
        return;
    ThemeLibraryLoaded = ThemeEngineAvailable();
    if (!ThemeLibraryLoaded)
        return;
    ThemeProcs.OpenThemeData = &OpenThemeData;
    ThemeProcs.CloseThemeData = &CloseThemeData;
    ThemeProcs.DrawThemeBackground = &DrawThemeBackground;
    ThemeProcs.IsThemeActive = &IsThemeActive;
}

void FreeThemeLibrary()
{
    ThemeLibraryLoaded = false;
}
