#pragma once
// The screens the desktop spans, in virtual-desktop coordinates.
#include "Types.h"

#include <vector>

// The rectangle of every screen; empty when there is none.
std::vector<TRect> MonitorRects();
// True when r shares at least one pixel with a screen.
bool OnSomeMonitor(const TRect& r);
