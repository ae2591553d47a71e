#pragma once
// Drives the real zovrel-javaenv.exe from a test process: starts it, finds its
// window and controls, clicks, types real keys, reads texts, pixels and
// message boxes, and ends it again. Every wait polls with a generous limit,
// so a slow Wine start makes a test slower, never wrong.
//
// Typical use:
//   e2e::AppDriver app;
//   ASSERT_TRUE(app.ready());
//   app.click(e2e::id::configureButton);
//   HWND box = app.waitForMessageBox();
//   EXPECT_EQ(e2e::readMessageBox(box).text, L"...");

#include "syshelper/Unique.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The window's texts and child ids, written out here on purpose rather than
// taken from the product's headers, so a test notices when those change.
inline constexpr wchar_t windowTitle[] = L"Zovrel工具-①键配置java环境 v0.1.0";
namespace id {
inline constexpr int configureButton = 100;  // 按钮1
inline constexpr int folderEdit = 110;       // 编辑框1
inline constexpr int browseButton = 120;     // 按钮
inline constexpr int noticeLabel = 130;      // 标签1
}  // namespace id

// How long a wait for the tool may take before the test gives up.
inline constexpr DWORD defaultWaitMs = 15000;

// The built executable as Wine sees it (Z:\...).
std::wstring toolPath();

// Calls `condition` every few milliseconds until it holds or `timeoutMs` has
// passed; returns its last answer.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs = defaultWaitMs);

struct StartOptions {
    std::wstring executable = toolPath();
    std::wstring currentDirectory;  // empty: the test's own
    std::wstring arguments;         // appended to the quoted executable path
};

// A key, with a modifier held while it is pressed: {VK_TAB}, {VK_TAB, VK_SHIFT}.
struct KeyStroke {
    WORD key;
    WORD modifier = 0;  // none
};

struct MessageBoxContent {
    std::wstring caption;
    std::wstring text;
    bool hasIcon = false;
    std::vector<int> buttonIds;  // visible buttons, left to right as created
    std::vector<std::wstring> buttonTexts;
};

class AppDriver {
public:
    // Starts the tool and waits for its main window.
    explicit AppDriver(const StartOptions& options = {});
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;
    // Ends the process if it still runs, so no test leaves one behind.
    ~AppDriver();

    // True when the process started and its main window is visible.
    bool ready() const { return window_ != nullptr; }
    HWND window() const { return window_; }
    HWND control(int controlId) const { return GetDlgItem(window_, controlId); }
    DWORD processId() const { return processId_; }
    DWORD threadId() const { return threadId_; }
    HANDLE process() const { return process_.get(); }

    // A control's text, edit box content included (WM_GETTEXT, marshalled
    // across processes), and its replacement.
    std::wstring text(int controlId) const;
    bool setText(int controlId, const std::wstring& text) const;

    // Posts BM_CLICK: a modal box opened by the click must not block the test.
    void click(int controlId) const;

    // Makes the tool's active window the foreground window; real input goes there.
    bool bringToFront() const;
    // Real keyboard input through SendInput, after bringToFront.
    bool press(const KeyStroke& stroke) const;
    // Alt+`key` as the messages the system makes of it (WM_SYSKEYDOWN and
    // WM_SYSKEYUP with the Alt flag), posted to the focused control. Under
    // Wine, an Alt sent through SendInput can be wiped from the key state
    // before the key behind it is read, and then the key comes without it.
    bool postAltKey(WORD key) const;
    // Real mouse input: `clicks` left clicks (2: a double-click) at a screen point.
    bool clickMouse(POINT screenPoint, int clicks = 1) const;
    // The window of the tool's GUI thread that has the keyboard focus.
    HWND focusedWindow() const;
    int focusedControlId() const;

    // A visible dialog (class #32770) of this process that has a control
    // with `childId`, or none. Message boxes have their text at 0xFFFF.
    HWND findDialogWith(int childId) const;
    HWND waitForDialogWith(int childId, DWORD timeoutMs = defaultWaitMs) const;
    HWND findMessageBox() const { return findDialogWith(0xFFFF); }
    HWND waitForMessageBox(DWORD timeoutMs = defaultWaitMs) const { return waitForDialogWith(0xFFFF, timeoutMs); }

    // The process's current directory, read from its process parameters.
    std::optional<std::wstring> currentDirectory() const;

    // The exit code once the process has ended, or nothing after the wait.
    std::optional<DWORD> waitForExit(DWORD timeoutMs = defaultWaitMs) const;

private:
    UniqueHandleKernel process_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

// What a window's client area shows on screen, copied in one go.
struct ClientImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row, top row first

    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// What the client area shows once its painting has settled.
ClientImage captureClient(HWND window);
// The same for any rectangle of the screen, frames and captions included.
ClientImage captureScreen(const RECT& area);

MessageBoxContent readMessageBox(HWND box);
// Posts BM_CLICK to a dialog's button, e.g. IDOK.
void pressDialogButton(HWND dialog, int buttonId);

// A visible top-level window of the process for which `accept` holds, or none.
HWND findTopLevel(DWORD processId, const std::function<bool(HWND)>& accept);

// Any window's text through WM_GETTEXT (works across processes).
std::wstring windowText(HWND window);
std::wstring className(HWND window);

}  // namespace e2e
