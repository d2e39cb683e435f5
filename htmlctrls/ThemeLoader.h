#pragma once
// Binds the visual-styles calls at start-up, so that the program also runs where no style
// engine is there; callers go through the table and test ThemeLibraryLoaded first.
#include "UxTheme.h"

struct TThemeProcs {
    bool (*IsThemeActive)() = nullptr;
    HTHEME (*OpenThemeData)(TWinControl*, const String&) = nullptr;
    long (*DrawThemeBackground)(HTHEME, TCanvas&, int, int, const TRect&, const TRect*) = nullptr;
    long (*CloseThemeData)(HTHEME) = nullptr;
};

extern bool ThemeLibraryLoaded;
extern TThemeProcs ThemeProcs;

// Start-up: binds the calls when the engine is there, once.
void LoadThemeLibrary();
// Shut-down: lets the engine go when it was bound; the table stays as it is.
void FreeThemeLibrary();
