#pragma once
// What the baseline window holds besides itself: nothing for the floor of the
// start-up and memory figures, one push button for the yardstick that also
// pays for common controls 6 and the visual style, as the tool must.

#include <windows.h>

void addBaselineControls(HWND window, HINSTANCE instance);
