#include "tests/bench/GuiProcess.h"

#include <psapi.h>

#include <iterator>

namespace benchsupport {

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* windowClass;  // null: any class
    HWND found;
};

bool hasClass(HWND window, const wchar_t* windowClass)
{
    if (!windowClass) return true;
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return lstrcmpW(name, windowClass) == 0;
}

BOOL CALLBACK matchVisibleWindow(HWND window, LPARAM searchAddress)
{
    auto& search = *reinterpret_cast<WindowSearch*>(searchAddress);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window) || !hasClass(window, search.windowClass)) return TRUE;
    search.found = window;
    return FALSE;
}

std::wstring folderOf(const std::wstring& path)
{
    const size_t lastBackslash = path.rfind(L'\\');
    return lastBackslash == std::wstring::npos ? std::wstring() : path.substr(0, lastBackslash);
}

}  // namespace

std::wstring windowsPathOf(const std::string& path)
{
    std::wstring result = path.rfind('/', 0) == 0 ? L"Z:" : L"";
    for (char c : path) result += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return result;
}

GuiProcess::GuiProcess(const std::wstring& executable)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring commandLine = L"\"" + executable + L"\"";
    const std::wstring folder = folderOf(executable);
    if (!CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        return;
    }
    processId_ = started.dwProcessId;
    process_.reset(started.hProcess);
    thread_.reset(started.hThread);
}

GuiProcess::~GuiProcess()
{
    if (!running()) return;
    if (HWND window = findVisibleWindow(nullptr); window && closeAndWait(window, 5000)) return;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
}

bool GuiProcess::running() const
{
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

HWND GuiProcess::waitUntilShownAndIdle(DWORD timeoutMs)
{
    const double deadline = nowMs() + timeoutMs;
    if (WaitForInputIdle(process_.get(), timeoutMs) != 0) return nullptr;
    // Idle normally means shown; the loop covers a window shown a moment later.
    while (running()) {
        if (HWND window = findVisibleWindow(nullptr)) return window;
        if (nowMs() > deadline) break;
        Sleep(1);
    }
    return nullptr;
}

HWND GuiProcess::findVisibleWindow(const wchar_t* windowClass) const
{
    WindowSearch search{processId_, windowClass, nullptr};
    EnumWindows(matchVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SIZE_T GuiProcess::peakWorkingSet() const
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process_.get(), &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

bool GuiProcess::closeAndWait(HWND window, DWORD timeoutMs)
{
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

double nowMs()
{
    LARGE_INTEGER frequency{}, counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace benchsupport
