#pragma once
// A GUI program started by a test or a benchmark driver: waits for its first
// idle moment, finds its visible top-level windows, reads its memory figures
// from outside, and closes it again. Only the process this object started is
// ever ended.

#include "syshelper/Unique.h"

#include <windows.h>

#include <string>

namespace benchsupport {

// A Windows path for a path CMake or the shell handed over: Wine maps the
// Unix root to drive Z:, and a Windows path passes unchanged.
std::wstring windowsPathOf(const std::string& path);

class GuiProcess {
public:
    // Starts `executable` in its own folder; running() is false on failure.
    explicit GuiProcess(const std::wstring& executable);
    GuiProcess(const GuiProcess&) = delete;
    GuiProcess& operator=(const GuiProcess&) = delete;
    // Closes the window if still open; ends the process if it will not go.
    ~GuiProcess();

    bool running() const;

    // Waits until the process first waits for input with nothing left to
    // handle (WaitForInputIdle) and shows a top-level window. Returns that
    // window, or null when neither happened within the timeout.
    HWND waitUntilShownAndIdle(DWORD timeoutMs);

    // The first visible top-level window of `windowClass` (e.g. L"#32770",
    // a message box) that belongs to the process, or null.
    HWND findVisibleWindow(const wchar_t* windowClass) const;

    // As GetProcessMemoryInfo reports it for this process; 0 when unreadable.
    SIZE_T peakWorkingSet() const;

    // WM_CLOSE to the window, then waits for the exit. True when it ended by itself.
    bool closeAndWait(HWND window, DWORD timeoutMs);

private:
    DWORD processId_ = 0;
    UniqueHandleKernel process_;
    UniqueHandleKernel thread_;
};

// Milliseconds since an arbitrary start, from the performance counter.
double nowMs();

}  // namespace benchsupport
