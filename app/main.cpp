// The process entry: start-up, the message loop and shutdown.

#include "app/CommandLine.h"
#include "app/CommandLineMode.h"
#include "app/MainWindow.h"
#include "app/Strings.h"
#include "syshelper/MessagePump.h"

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace {

// OLE for the GUI thread from start-up to shutdown; the shell object calls
// and the folder dialog rely on it. A failure is not fatal to the window.
class OleSession {
public:
    OleSession() { OleInitialize(nullptr); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() { OleUninitialize(); }
};

std::wstring executablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The folder that holds the executable becomes the current directory. Cutting
// the wide path at its last backslash cannot mistake the second byte of a
// double-byte character for one, as a cut of the ANSI path could.
void enterExecutableFolder()
{
    const std::wstring path = executablePath();
    const size_t lastBackslash = path.rfind(L'\\');
    if (lastBackslash == std::wstring::npos) return;
    SetCurrentDirectoryW(path.substr(0, lastBackslash).c_str());
}

int runMessageLoop()
{
    MSG msg{};
    BOOL result;
    while ((result = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        processMessage(msg);
    }
    return result == 0 ? static_cast<int>(msg.wParam) : -1;
}

int runMainWindow(HINSTANCE instance)
{
    MainWindow window;
    if (!window.create(instance)) {
        MessageBoxW(nullptr, strings::windowFailedText, strings::windowFailedCaption, MB_OK | MB_ICONERROR);
        return -1;
    }
    return runMessageLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    OleSession ole;
    // Any argument means a deployment script or an administrator at a
    // prompt: no window. The caller's current directory stays, so a folder
    // given relative to it is checked where the caller meant it.
    const std::vector<std::wstring> arguments = processArguments();
    if (!arguments.empty()) return runCommandLine(parseCommandLine(arguments));
    enterExecutableFolder();
    return runMainWindow(instance);
}
