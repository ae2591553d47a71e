#include "tests/bench/BaselineControls.h"

#include <commctrl.h>

// Loads common controls 6, which the manifest binds, and shows nothing more:
// what any program that shows those controls pays before it makes one.
void addBaselineControls(HWND, HINSTANCE)
{
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}
