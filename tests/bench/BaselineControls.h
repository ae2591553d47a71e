#pragma once
// What the baseline window holds besides itself: nothing for the floor of the
// start-up and memory figures; for the two yardsticks, common controls 6
// loaded but unused, or one push button, which also pays for the visual
// style, as the tool must.

#include <windows.h>

void addBaselineControls(HWND window, HINSTANCE instance);
