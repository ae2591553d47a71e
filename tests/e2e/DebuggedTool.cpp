#include "tests/e2e/DebuggedTool.h"

#include "tests/e2e/AppDriver.h"
#include "tests/e2e/CliRun.h"
#include "syshelper/Unique.h"

#include <winternl.h>

namespace e2e {

namespace {

using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

template <typename T>
bool readRemote(HANDLE process, const void* address, T& value)
{
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, &value, sizeof value, &read) && read == sizeof value;
}

// From the process's own parameters block, as Windows keeps it in the PEB.
std::wstring commandLineOf(HANDLE process)
{
    const auto query = reinterpret_cast<QueryInformationProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return L"";
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!readRemote(process, basic.PebBaseAddress, peb) || !readRemote(process, peb.ProcessParameters, parameters)) {
        return L"";
    }
    std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    SIZE_T read = 0;
    if (!text.empty() && !ReadProcessMemory(process, parameters.CommandLine.Buffer, &text[0],
                                            parameters.CommandLine.Length, &read)) {
        return L"";
    }
    return text;
}

}  // namespace

DebuggedTool::DebuggedTool() : thread_(&DebuggedTool::debugLoop, this)
{
    std::unique_lock<std::mutex> lock(mutex_);
    started_.wait(lock, [this] { return startDone_; });
}

DebuggedTool::~DebuggedTool()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (process_) TerminateProcess(process_, 0);
        for (const auto& child : runningChildren_) TerminateProcess(child.second, 0);
    }
    thread_.join();
}

HWND DebuggedTool::waitForMainWindow() const
{
    HWND found = nullptr;
    waitUntil([&] {
        found = findTopLevel(processId_, [](HWND window) { return windowText(window) == windowTitle; });
        return found != nullptr;
    });
    return found;
}

std::vector<std::wstring> DebuggedTool::childCommandLines() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return childCommandLines_;
}

std::optional<DWORD> DebuggedTool::childExitCode(size_t index) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= childIds_.size()) return std::nullopt;
    const auto found = exitCodes_.find(childIds_[index]);
    if (found == exitCodes_.end()) return std::nullopt;
    return found->second;
}

void DebuggedTool::recordCreation(const DEBUG_EVENT& event)
{
    // The image file's handle is the debugger's to close; the process handle is not.
    const UniqueHandleKernel imageFile(event.u.CreateProcessInfo.hFile);
    if (event.dwProcessId == processId_) return;
    // Wine starts a console host for some children; only our own count.
    const std::wstring commandLine = commandLineOf(event.u.CreateProcessInfo.hProcess);
    if (commandLine.find(L"conhost.exe") != std::wstring::npos) return;
    std::lock_guard<std::mutex> lock(mutex_);
    runningChildren_[event.dwProcessId] = event.u.CreateProcessInfo.hProcess;
    childIds_.push_back(event.dwProcessId);
    childCommandLines_.push_back(commandLine);
}

void DebuggedTool::recordExit(const DEBUG_EVENT& event)
{
    std::lock_guard<std::mutex> lock(mutex_);
    runningChildren_.erase(event.dwProcessId);
    exitCodes_[event.dwProcessId] = event.u.ExitProcess.dwExitCode;
}

// Debug events must be waited for on the thread that created the process.
void DebuggedTool::debugLoop()
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = toolCommandLine(L"");
    const bool created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DEBUG_PROCESS, nullptr,
                                        nullptr, &startup, &info);
    const UniqueHandleKernel process(created ? info.hProcess : nullptr);
    const UniqueHandleKernel thread(created ? info.hThread : nullptr);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        processId_ = created ? info.dwProcessId : 0;
        process_ = created ? info.hProcess : nullptr;
        startDone_ = true;
    }
    started_.notify_all();
    if (!created) return;

    int alive = 0;
    bool mainEnded = false;
    while (!mainEnded || alive > 0) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, INFINITE)) break;
        DWORD continueStatus = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            ++alive;
            recordCreation(event);
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            --alive;
            recordExit(event);
            if (event.dwProcessId == info.dwProcessId) mainEnded = true;
            break;
        case LOAD_DLL_DEBUG_EVENT: {
            const UniqueHandleKernel dllFile(event.u.LoadDll.hFile);
            break;
        }
        case EXCEPTION_DEBUG_EVENT:
            // Not ours to handle: the process's own handlers see it as usual.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                continueStatus = DBG_EXCEPTION_NOT_HANDLED;
            }
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        process_ = nullptr;
    }
}

}  // namespace e2e
