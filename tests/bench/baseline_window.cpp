// The floor for the start-up and memory figures: one empty top-level window
// built with the tool's toolchain, flags and manifest, that initialises OLE
// for its thread as the tool must. Whatever the tool costs beyond this is
// the tool's own.

#include "app/ControlTable.h"
#include "syshelper/Unique.h"

#include "tests/bench/BaselineControls.h"

#include <windows.h>
#include <ole2.h>

namespace {

constexpr wchar_t baselineClass[] = L"ZovrelBenchBaseline";

LRESULT CALLBACK baselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerBaselineClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = baselineProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = baselineClass;
    return RegisterClassExW(&windowClass) != 0;
}

int runMessageLoop()
{
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    OleInitialize(nullptr);
    int exitCode = -1;
    if (registerBaselineClass(instance)) {
        UniqueWindow window(CreateWindowExW(0, baselineClass, L"Zovrel bench baseline", layout::windowStyle,
                                            CW_USEDEFAULT, CW_USEDEFAULT, layout::windowWidth,
                                            layout::windowHeight, nullptr, nullptr, instance, nullptr));
        if (window) {
            addBaselineControls(window.get(), instance);
            ShowWindow(window.get(), SW_SHOW);
            exitCode = runMessageLoop();
        }
    }
    OleUninitialize();
    return exitCode;
}
