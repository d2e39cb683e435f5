#include "SystemMetrics.h"

// Without a theme the theme's sizes are the system's own.
int GetSystemMetrics(int index) { return GetThemeSysSize(nullptr, index); }
