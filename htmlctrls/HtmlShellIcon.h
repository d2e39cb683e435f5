#pragma once
// The shell's icon of a path, as images whose source is "SSYS:" or "LSYS:" show it.
#include "Graphics.h"

// Sets size to the icon size of the small (or large) system image list and, when paint is set,
// draws the icon of path at (x, y): a decimal number is an index in the system image list, an
// existing file or folder shows its own icon, any other name the icon of its kind. In printMode
// the icon goes through a bitmap stretched by scale.
void DrawShellIcon(TCanvas& canvas, int x, int y, int& size, double scale, bool printMode, bool paint, bool large,
                   const String& path);
