#pragma once
// Starts the real executable as a debuggee, so that every process it starts
// is debugged too and its command line can be read at its creation, before
// it runs a single instruction of its own. That is how a test sees exactly
// what the tool passed to ShellExecuteEx "runas" (under Wine the verb simply
// starts the program), with no hook in the product.

#include <windows.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

class DebuggedTool {
public:
    DebuggedTool();
    DebuggedTool(const DebuggedTool&) = delete;
    DebuggedTool& operator=(const DebuggedTool&) = delete;
    // Ends whatever still runs.
    ~DebuggedTool();

    DWORD processId() const { return processId_; }
    // The tool's main window, once it is visible.
    HWND waitForMainWindow() const;

    // Command lines of the processes the tool started, in order.
    std::vector<std::wstring> childCommandLines() const;
    // A child's exit code once it has ended.
    std::optional<DWORD> childExitCode(size_t index) const;

private:
    void debugLoop();
    void recordCreation(const DEBUG_EVENT& event);
    void recordExit(const DEBUG_EVENT& event);

    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable started_;
    bool startDone_ = false;
    DWORD processId_ = 0;
    HANDLE process_ = nullptr;  // owned by the debug loop's thread
    std::vector<DWORD> childIds_;
    // Valid until the child's exit event has been continued.
    std::map<DWORD, HANDLE> runningChildren_;
    std::vector<std::wstring> childCommandLines_;
    std::map<DWORD, DWORD> exitCodes_;
};

}  // namespace e2e
