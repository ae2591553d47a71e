#include "tests/e2e/AppDriver.h"

#include <winternl.h>

#include <algorithm>

namespace e2e {

namespace {

constexpr DWORD pollIntervalMs = 20;
constexpr UINT messageTimeoutMs = 5000;

std::wstring fromUtf8(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

struct WindowSearch {
    DWORD processId;
    const std::function<bool(HWND)>* accept;
    HWND found = nullptr;
};

BOOL CALLBACK considerWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !(*search->accept)(window)) return TRUE;
    search->found = window;
    return FALSE;
}

std::vector<HWND> childrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

bool sameText(const std::wstring& left, const wchar_t* right)
{
    return CompareStringOrdinal(left.c_str(), -1, right, -1, TRUE) == CSTR_EQUAL;
}

INPUT keyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// A window DC from GetDC, given back when the owner goes.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc()
    {
        if (dc_) DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The start of a 32-bit process's RTL_USER_PROCESS_PARAMETERS up to its
// current directory (a CURDIR: the DOS path as a UNICODE_STRING, then a
// handle). winternl.h leaves these fields unnamed.
struct ProcessParametersHead {
    ULONG maximumLength;
    ULONG length;
    ULONG flags;
    ULONG debugFlags;
    HANDLE consoleHandle;
    ULONG consoleFlags;
    HANDLE standardInput;
    HANDLE standardOutput;
    HANDLE standardError;
    UNICODE_STRING currentDirectory;
};

template <typename T>
bool readRemote(HANDLE process, const void* address, T& value)
{
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, &value, sizeof value, &read) && read == sizeof value;
}

}  // namespace

HWND findTopLevel(DWORD processId, const std::function<bool(HWND)>& accept)
{
    WindowSearch search{processId, &accept};
    EnumWindows(considerWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring toolPath()
{
    std::wstring path = L"Z:" + fromUtf8(ZOVREL_EXE_UNIX_PATH);  // Wine maps the Unix root to drive Z:
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return condition();
        Sleep(pollIntervalMs);
    }
    return true;
}

AppDriver::AppDriver(const StartOptions& options)
{
    std::wstring commandLine = L"\"" + options.executable + L"\"";
    if (!options.arguments.empty()) commandLine += L" " + options.arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(options.executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        options.currentDirectory.empty() ? nullptr : options.currentDirectory.c_str(), &startup,
                        &info)) {
        return;
    }
    process_.reset(info.hProcess);
    const UniqueHandleKernel thread(info.hThread);
    processId_ = info.dwProcessId;

    HWND found = nullptr;
    waitUntil([&] {
        found = findTopLevel(processId_, [](HWND candidate) { return windowText(candidate) == windowTitle; });
        return found != nullptr || WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
    });
    window_ = found;
    if (window_) threadId_ = GetWindowThreadProcessId(window_, nullptr);
}

AppDriver::~AppDriver()
{
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), defaultWaitMs);
    }
}

std::wstring AppDriver::text(int controlId) const
{
    return windowText(control(controlId));
}

bool AppDriver::setText(int controlId, const std::wstring& text) const
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control(controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, messageTimeoutMs, &result) != 0 &&
           result == TRUE;
}

void AppDriver::click(int controlId) const
{
    PostMessageW(control(controlId), BM_CLICK, 0, 0);
}

bool AppDriver::bringToFront() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = GetGUIThreadInfo(threadId_, &info) && info.hwndActive ? info.hwndActive : window_;
    SetForegroundWindow(target);
    return waitUntil([&] { return GetForegroundWindow() == target; });
}

bool AppDriver::press(const KeyStroke& stroke) const
{
    if (!bringToFront()) return false;
    std::vector<INPUT> inputs;
    if (stroke.modifier) inputs.push_back(keyInput(stroke.modifier, false));
    inputs.push_back(keyInput(stroke.key, false));
    inputs.push_back(keyInput(stroke.key, true));
    if (stroke.modifier) inputs.push_back(keyInput(stroke.modifier, true));
    const UINT count = static_cast<UINT>(inputs.size());
    return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

bool AppDriver::postAltKey(WORD key) const
{
    HWND focused = focusedWindow();
    if (!focused) return false;
    // Repeat count 1, the scan code, the Alt flag; a release also has the
    // previous-state and transition flags. Unsigned, since the top bit is set.
    const DWORD scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const DWORD down = 1 | ((scanCode | KF_ALTDOWN) << 16);
    const DWORD up = down | (static_cast<DWORD>(KF_REPEAT | KF_UP) << 16);
    return PostMessageW(focused, WM_SYSKEYDOWN, key, static_cast<LPARAM>(down)) &&
           PostMessageW(focused, WM_SYSKEYUP, key, static_cast<LPARAM>(up));
}

bool AppDriver::clickMouse(POINT screenPoint, int clicks) const
{
    if (!bringToFront()) return false;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(screenPoint.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(screenPoint.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    std::vector<INPUT> inputs{move};
    for (int i = 0; i < clicks; ++i) {
        for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
            INPUT press = move;
            press.mi.dwFlags = button | MOUSEEVENTF_ABSOLUTE;
            inputs.push_back(press);
        }
    }
    const UINT count = static_cast<UINT>(inputs.size());
    return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

HWND AppDriver::focusedWindow() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

int AppDriver::focusedControlId() const
{
    HWND focused = focusedWindow();
    return focused && GetParent(focused) == window_ ? GetDlgCtrlID(focused) : 0;
}

HWND AppDriver::findDialogWith(int childId) const
{
    return findTopLevel(processId_, [childId](HWND candidate) {
        return sameText(className(candidate), L"#32770") && GetDlgItem(candidate, childId) != nullptr;
    });
}

HWND AppDriver::waitForDialogWith(int childId, DWORD timeoutMs) const
{
    HWND found = nullptr;
    waitUntil([&] { return (found = findDialogWith(childId)) != nullptr; }, timeoutMs);
    return found;
}

std::optional<std::wstring> AppDriver::currentDirectory() const
{
    PROCESS_BASIC_INFORMATION basic{};
    if (!NT_SUCCESS(NtQueryInformationProcess(process_.get(), ProcessBasicInformation, &basic, sizeof basic,
                                              nullptr))) {
        return std::nullopt;
    }
    PEB peb{};
    ProcessParametersHead parameters{};
    if (!readRemote(process_.get(), basic.PebBaseAddress, peb) ||
        !readRemote(process_.get(), peb.ProcessParameters, parameters)) {
        return std::nullopt;
    }
    std::wstring directory(parameters.currentDirectory.Length / sizeof(wchar_t), L'\0');
    SIZE_T read = 0;
    if (!ReadProcessMemory(process_.get(), parameters.currentDirectory.Buffer, directory.data(),
                           parameters.currentDirectory.Length, &read) ||
        read != parameters.currentDirectory.Length) {
        return std::nullopt;
    }
    return directory;
}

std::optional<DWORD> AppDriver::waitForExit(DWORD timeoutMs) const
{
    DWORD code = 0;
    if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

namespace {

ClientImage copyFromDc(HDC source, int left, int top, int width, int height)
{
    ClientImage image;
    const MemoryDc memory(source);
    const UniqueBitmap bitmap(CreateCompatibleBitmap(source, width, height));
    if (!source || !memory.get() || !bitmap || width <= 0 || height <= 0) return image;
    {
        const Selection selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, source, left, top, SRCCOPY);
    }

    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> rows(static_cast<size_t>(width) * height);
    if (GetDIBits(memory.get(), bitmap.get(), 0, height, rows.data(), &format, DIB_RGB_COLORS) != height) {
        return image;
    }
    image.width = width;
    image.height = height;
    for (const RGBQUAD& pixel : rows) image.pixels.push_back(RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue));
    return image;
}

ClientImage captureClientOnce(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    const WindowDc dc(window);
    return copyFromDc(dc.get(), 0, 0, client.right, client.bottom);
}

}  // namespace

ClientImage captureClient(HWND window)
{
    // The window may still be painting right after it appeared: wait until
    // its thread is idle (painting comes first), then take pictures until
    // two in a row agree, or give the last one after 3 s.
    constexpr DWORD settleTimeoutMs = 3000;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const UniqueHandleKernel process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (process) WaitForInputIdle(process.get(), settleTimeoutMs);
    const DWORD start = GetTickCount();
    ClientImage previous = captureClientOnce(window);
    for (;;) {
        Sleep(50);
        ClientImage current = captureClientOnce(window);
        if (current.pixels == previous.pixels || GetTickCount() - start > settleTimeoutMs) return current;
        previous = std::move(current);
    }
}

ClientImage captureScreen(const RECT& area)
{
    const WindowDc screen(nullptr);
    return copyFromDc(screen.get(), area.left, area.top, area.right - area.left, area.bottom - area.top);
}

namespace {

HICON staticIcon(HWND iconStatic)
{
    DWORD_PTR icon = 0;
    SendMessageTimeoutW(iconStatic, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
    return reinterpret_cast<HICON>(icon);
}

}  // namespace

MessageBoxContent readMessageBox(HWND box)
{
    MessageBoxContent content;
    content.caption = windowText(box);
    content.text = windowText(GetDlgItem(box, 0xFFFF));
    for (HWND child : childrenOf(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::wstring kind = className(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        // Wine's box always has a visible SS_ICON static, empty when no icon
        // was asked for; so an icon counts only when the static holds one.
        if (sameText(kind, L"Static") && (style & SS_TYPEMASK) == SS_ICON && staticIcon(child)) content.hasIcon = true;
        if (sameText(kind, L"Button")) {
            content.buttonIds.push_back(GetDlgCtrlID(child));
            content.buttonTexts.push_back(windowText(child));
        }
    }
    return content;
}

void pressDialogButton(HWND dialog, int buttonId)
{
    PostMessageW(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
}

std::wstring windowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, messageTimeoutMs, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, messageTimeoutMs, &copied)) {
        return {};
    }
    text.resize(copied);
    return text;
}

std::wstring className(HWND window)
{
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<size_t>(std::max(length, 0)));
}

}  // namespace e2e
