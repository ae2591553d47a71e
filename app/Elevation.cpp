#include "app/Elevation.h"

#include "syshelper/MessagePump.h"
#include "syshelper/Unique.h"

#include <shellapi.h>

#include <vector>

namespace {

// Keeps the window painting while the elevated instance runs, and keeps the
// user from starting another configuration meanwhile.
class DisabledWindow {
public:
    explicit DisabledWindow(HWND window) : window_(window)
    {
        if (window_) EnableWindow(window_, FALSE);
    }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;
    ~DisabledWindow()
    {
        if (window_) EnableWindow(window_, TRUE);
    }

private:
    HWND window_;
};

bool waitDispatchingMessages(HANDLE process)
{
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        processPendingMessages();
    }
}

}  // namespace

std::wstring ownExecutablePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::wstring();
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

ElevatedRun runElevated(HWND owner, const std::wstring& parameters)
{
    const std::wstring executable = ownExecutablePath();
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    execute.hwnd = owner;
    execute.lpVerb = L"runas";
    execute.lpFile = executable.c_str();
    execute.lpParameters = parameters.c_str();
    execute.nShow = SW_HIDE;

    ElevatedRun run;
    if (!ShellExecuteExW(&execute)) {
        run.error = GetLastError();
        return run;
    }
    const UniqueHandleKernel process(execute.hProcess);
    if (!process) {
        run.error = ERROR_INVALID_HANDLE;
        return run;
    }
    run.started = true;
    const DisabledWindow disabled(owner);
    if (!waitDispatchingMessages(process.get()) || !GetExitCodeProcess(process.get(), &run.exitCode)) {
        run.error = GetLastError();
    }
    return run;
}
