#pragma once
// The sizes the window system gives its parts, asked for by the SM_ ids of UxTheme.h.
#include "UxTheme.h"

int GetSystemMetrics(int index);
