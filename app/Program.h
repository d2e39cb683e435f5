#pragma once
// Program start: the formats, the application object and the three start-up windows.

// Creates the main, preview and help windows in that order (the first becomes the main window).
void CreateStartupForms();
// Frees the start-up windows, the main window last so that its layouts are written at exit.
void FreeStartupForms();
// Runs the whole program inside an existing Qt application; returns the exit code.
int RunProgram();
