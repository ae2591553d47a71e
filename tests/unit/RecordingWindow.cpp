#include "RecordingWindow.h"

namespace unittest {

namespace {

constexpr const wchar_t* className = L"ZovrelRecordingWindow";

}  // namespace

RecordingWindow::RecordingWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &RecordingWindow::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    window_.reset(CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                  nullptr));
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK RecordingWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const bool recorded = (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                          (message >= WM_APP && message <= WM_APP + 100);
    if (self && recorded) self->received_.push_back(message);
    return DefWindowProcW(window, message, wParam, lParam);
}

bool takeQuit(WPARAM& exitCode)
{
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            exitCode = msg.wParam;
        }
    }
    return quit;
}

}  // namespace unittest
