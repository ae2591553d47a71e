#include "tests/bench/BaselineControls.h"

#include <commctrl.h>

void addBaselineControls(HWND window, HINSTANCE instance)
{
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CreateWindowExW(0, WC_BUTTONW, L"Button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 16, 63, 328, 40, window,
                    nullptr, instance, nullptr);
}
