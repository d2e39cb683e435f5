#pragma once
// The visual-styles calls, answered from the application's current widget style. A theme
// handle stands for one theme class; only the class "window" (caption bars and their
// buttons) is known.
#include "Graphics.h"

class TWinControl;
using HTHEME = void*;

enum : long { S_OK = 0, E_HANDLE = static_cast<long>(0x80070006) };

// True when an application with a widget style runs: the engine the calls need.
bool ThemeEngineAvailable();
// True when a widget style is there to draw with.
bool IsThemeActive();
// Nullptr for a class other than "window" (letter case aside) or without an active style.
HTHEME OpenThemeData(TWinControl* control, const String& classList);
// Window parts drawn: 1 caption, 15 minimise button, 17 restore button, 18 close button.
// E_HANDLE for a handle not from OpenThemeData.
long DrawThemeBackground(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& rect,
                         const TRect* clip);
long CloseThemeData(HTHEME theme);
