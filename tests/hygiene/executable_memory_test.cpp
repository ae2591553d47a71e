// The tool's own code asks for no executable memory while it runs: every
// VirtualAlloc/VirtualProtect request of this module (product code linked
// in) goes through its import address table, so the test puts recorders
// into those slots, and into GetProcAddress for the same names, then starts
// a window, clicks "configure" and lists both scopes through the stand-in.

#include "app/ControlTable.h"
#include "app/MainWindow.h"
#include "syshelper/SystemHelper.h"
#include "tests/support/Registry.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr DWORD executeRights = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

struct ExecuteRequest {
    const char* function;
    DWORD protection;
    void* caller;
};

std::mutex requestsLock;
std::vector<ExecuteRequest> executeRequests;

void note(const char* function, DWORD protection, void* caller)
{
    if (!(protection & executeRights)) return;
    const std::lock_guard<std::mutex> lock(requestsLock);
    executeRequests.push_back({function, protection, caller});
}

std::vector<ExecuteRequest> takeRequests()
{
    const std::lock_guard<std::mutex> lock(requestsLock);
    return std::exchange(executeRequests, {});
}

template <typename Function>
Function* kernel32Function(const char* name)
{
    return reinterpret_cast<Function*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

// The real functions, found without this module's import table.
struct RealFunctions {
    decltype(VirtualAlloc)* virtualAlloc = kernel32Function<decltype(VirtualAlloc)>("VirtualAlloc");
    decltype(VirtualAllocEx)* virtualAllocEx = kernel32Function<decltype(VirtualAllocEx)>("VirtualAllocEx");
    decltype(VirtualProtect)* virtualProtect = kernel32Function<decltype(VirtualProtect)>("VirtualProtect");
    decltype(VirtualProtectEx)* virtualProtectEx = kernel32Function<decltype(VirtualProtectEx)>("VirtualProtectEx");
    decltype(GetProcAddress)* getProcAddress = kernel32Function<decltype(GetProcAddress)>("GetProcAddress");
};

const RealFunctions& real()
{
    static const RealFunctions functions;
    return functions;
}

LPVOID WINAPI recordVirtualAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protection)
{
    note("VirtualAlloc", protection, __builtin_return_address(0));
    return real().virtualAlloc(address, size, type, protection);
}

LPVOID WINAPI recordVirtualAllocEx(HANDLE process, LPVOID address, SIZE_T size, DWORD type, DWORD protection)
{
    note("VirtualAllocEx", protection, __builtin_return_address(0));
    return real().virtualAllocEx(process, address, size, type, protection);
}

BOOL WINAPI recordVirtualProtect(LPVOID address, SIZE_T size, DWORD protection, PDWORD old)
{
    note("VirtualProtect", protection, __builtin_return_address(0));
    return real().virtualProtect(address, size, protection, old);
}

BOOL WINAPI recordVirtualProtectEx(HANDLE process, LPVOID address, SIZE_T size, DWORD protection, PDWORD old)
{
    note("VirtualProtectEx", protection, __builtin_return_address(0));
    return real().virtualProtectEx(process, address, size, protection, old);
}

struct Recorder {
    const char* name;
    void* function;
};

const Recorder memoryRecorders[] = {
    {"VirtualAlloc", reinterpret_cast<void*>(recordVirtualAlloc)},
    {"VirtualAllocEx", reinterpret_cast<void*>(recordVirtualAllocEx)},
    {"VirtualProtect", reinterpret_cast<void*>(recordVirtualProtect)},
    {"VirtualProtectEx", reinterpret_cast<void*>(recordVirtualProtectEx)},
};

// A function looked up by name gets the recorder, so GetProcAddress is no way around them.
FARPROC WINAPI recordGetProcAddress(HMODULE module, LPCSTR name)
{
    const bool byName = reinterpret_cast<uintptr_t>(name) > 0xFFFF;
    for (const Recorder& recorder : memoryRecorders) {
        if (byName && std::strcmp(name, recorder.name) == 0) return reinterpret_cast<FARPROC>(recorder.function);
    }
    return real().getProcAddress(module, name);
}

// The import-table slots of this module that the loader bound to kernel32's `name`.
std::vector<void**> kernel32ImportSlots(const char* name)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<void**> slots;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + dll->Name), "kernel32.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* bound = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++bound) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0) {
                slots.push_back(reinterpret_cast<void**>(&bound->u1.Function));
            }
        }
    }
    return slots;
}

void writeSlot(void** slot, void* value)
{
    DWORD old = 0;
    real().virtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    real().virtualProtect(slot, sizeof *slot, old, &old);
}

// Puts the recorders into the import table for its lifetime.
class ImportRecorders {
public:
    ImportRecorders()
    {
        for (const Recorder& recorder : memoryRecorders) install(recorder.name, recorder.function);
        install("GetProcAddress", reinterpret_cast<void*>(recordGetProcAddress));
        takeRequests();
    }
    ImportRecorders(const ImportRecorders&) = delete;
    ImportRecorders& operator=(const ImportRecorders&) = delete;
    ~ImportRecorders()
    {
        for (const auto& [slot, original] : patched_) writeSlot(slot, original);
    }

    bool installed(const char* name) const { return !kernel32ImportSlots(name).empty(); }

private:
    void install(const char* name, void* recorder)
    {
        for (void** slot : kernel32ImportSlots(name)) {
            patched_.push_back({slot, *slot});
            writeSlot(slot, recorder);
        }
    }

    std::vector<std::pair<void**, void*>> patched_;
};

std::string describe(const std::vector<ExecuteRequest>& requests)
{
    std::ostringstream text;
    for (const ExecuteRequest& request : requests) {
        text << request.function << " protection 0x" << std::hex << request.protection << " from " << request.caller
             << std::dec << "\n";
    }
    return text.str();
}

// ---- the check can fail: requests made here are seen --------------------

struct RequestCase {
    const char* what;
    std::function<void()> request;
    bool recorded;
};

void allocateThenFree(DWORD protection)
{
    void* block = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, protection);
    VirtualFree(block, 0, MEM_RELEASE);
}

void reprotectBlock(DWORD protection)
{
    void* block = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    DWORD old = 0;
    VirtualProtect(block, 4096, protection, &old);
    VirtualFree(block, 0, MEM_RELEASE);
}

void allocateInProcess(DWORD protection)
{
    void* block = VirtualAllocEx(GetCurrentProcess(), nullptr, 4096, MEM_COMMIT | MEM_RESERVE, protection);
    DWORD old = 0;
    VirtualProtectEx(GetCurrentProcess(), block, 4096, PAGE_READONLY, &old);
    VirtualFree(block, 0, MEM_RELEASE);
}

void allocateThroughLookup(DWORD protection)
{
    const auto allocate = reinterpret_cast<decltype(VirtualAlloc)*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "VirtualAlloc")));
    VirtualFree(allocate(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, protection), 0, MEM_RELEASE);
}

TEST(ExecutableMemory, RecordersSeeEveryKindOfRequestMadeHere)
{
    const ImportRecorders recorders;
    const RequestCase cases[] = {
        {"VirtualAlloc execute", [] { allocateThenFree(PAGE_EXECUTE_READWRITE); }, true},
        {"VirtualAlloc data", [] { allocateThenFree(PAGE_READWRITE); }, false},
        {"VirtualProtect to execute", [] { reprotectBlock(PAGE_EXECUTE_READ); }, true},
        {"VirtualProtect to read-only", [] { reprotectBlock(PAGE_READONLY); }, false},
        {"VirtualAllocEx execute", [] { allocateInProcess(PAGE_EXECUTE); }, true},
        {"GetProcAddress then execute", [] { allocateThroughLookup(PAGE_EXECUTE_READ); }, true},
    };
    for (const RequestCase& testCase : cases) {
        testCase.request();
        EXPECT_EQ(testCase.recorded, !takeRequests().empty()) << testCase.what;
    }
}

// ---- the tool's own code ------------------------------------------------

class OleForThisThread {
public:
    OleForThisThread() { OleInitialize(nullptr); }
    OleForThisThread(const OleForThisThread&) = delete;
    OleForThisThread& operator=(const OleForThisThread&) = delete;
    ~OleForThisThread() { OleUninitialize(); }
};

// Closes every message box the watched thread shows, from a thread of its own.
class MessageBoxCloser {
public:
    explicit MessageBoxCloser(DWORD watchedThread)
        : watchedThread_(watchedThread), worker_([this] { closeUntilStopped(); })
    {
    }
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;
    ~MessageBoxCloser()
    {
        stop_ = true;
        worker_.join();
    }

    int closed() const { return closed_; }

private:
    static BOOL CALLBACK matchBox(HWND window, LPARAM found)
    {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (!IsWindowVisible(window) || lstrcmpW(name, L"#32770") != 0) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }

    void closeUntilStopped()
    {
        while (!stop_) {
            HWND box = nullptr;
            EnumThreadWindows(watchedThread_, matchBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                // Counted first: the watched thread goes on as soon as the box is gone.
                ++closed_;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box) && !stop_) Sleep(5);
            }
            Sleep(5);
        }
    }

    DWORD watchedThread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> closed_{0};
    std::thread worker_;
};

struct SavedMachineJavaVariables {
    testsupport::SavedVariable javaHome{testsupport::systemEnvironment, L"JAVA_HOME"};
    testsupport::SavedVariable jreHome{testsupport::systemEnvironment, L"JRE_HOME"};
    testsupport::SavedVariable path{testsupport::systemEnvironment, L"PATH"};
};

// A window of the tool's own, one configuration click and its result box.
void clickConfigure(const std::wstring& folder)
{
    MainWindow window;
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    window.setEditTextWide(folder);
    const MessageBoxCloser closer(GetCurrentThreadId());
    SendMessageW(window.control(controlId::按钮1), BM_CLICK, 0, 0);
    EXPECT_EQ(1, closer.closed()) << "the click shows exactly one result box";
}

void dropQuitMessage()
{
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST(ExecutableMemory, TheToolAsksForNoneDuringAClickAndAListing)
{
    const OleForThisThread ole;
    const SavedMachineJavaVariables saved;
    // An ASCII name: without the zh_CN.UTF-8 glibc locale Wine cannot make
    // a file name with Chinese characters.
    const testsupport::JdkFolder jdk(L"jdk1.8.0_202");
    ASSERT_FALSE(jdk.home().empty());
    const ImportRecorders recorders;
    ASSERT_TRUE(recorders.installed("VirtualAlloc")) << "this test's own requests keep the slot in the table";

    clickConfigure(jdk.home());
    dropQuitMessage();  // the destroyed window asked its loop to end
    const std::optional<testsupport::StoredValue> javaHome =
        testsupport::readValue(testsupport::systemEnvironment, L"JAVA_HOME");
    ASSERT_TRUE(javaHome.has_value()) << "the click wrote nothing: is the shell-object stand-in registered?";
    EXPECT_EQ(jdk.home(), javaHome->data);

    for (const bool userScope : {true, false}) {
        TextList entries;
        EXPECT_GT(SystemHelper::create()->listVariables(userScope, entries), 0) << "userScope " << userScope;
    }

    const std::vector<ExecuteRequest> requests = takeRequests();
    EXPECT_TRUE(requests.empty()) << describe(requests);
}

}  // namespace
