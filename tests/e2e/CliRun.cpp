#include "tests/e2e/CliRun.h"

#include "tests/e2e/AppDriver.h"
#include "tests/support/TempFolder.h"

#include <vector>

namespace e2e {

namespace {

constexpr DWORD exitWaitMs = 30000;

struct Started {
    UniqueHandleKernel process;
    DWORD processId = 0;
};

// A cmd prompt passes its console on; anything else passes explicit handles.
const HANDLE inheritStandardHandles = INVALID_HANDLE_VALUE;

Started start(const std::wstring& arguments, HANDLE output)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (output != inheritStandardHandles) {
        // As Explorer starts a program: explicit handles, or none at all.
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
        startup.hStdInput = nullptr;
    }
    PROCESS_INFORMATION info{};
    std::wstring commandLine = toolCommandLine(arguments);
    Started started;
    const BOOL inherit = output != nullptr && output != inheritStandardHandles;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, inherit, 0, nullptr, nullptr,
                       &startup, &info)) {
        started.process.reset(info.hProcess);
        started.processId = info.dwProcessId;
        const UniqueHandleKernel thread(info.hThread);
    }
    return started;
}

std::optional<DWORD> waitForExit(HANDLE process, DWORD timeoutMs = exitWaitMs)
{
    DWORD code = 0;
    if (!process || WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    if (!GetExitCodeProcess(process, &code)) return std::nullopt;
    return code;
}

std::wstring fromUtf8(const std::string& bytes)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(length > 0 ? length : 0, L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], length);
    return text;
}

std::string fileBytes(const std::wstring& path)
{
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (file && ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

// A console wide enough that no line of ours wraps.
void widenConsole(HANDLE console)
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(console, &info)) return;
    SetConsoleScreenBufferSize(console, COORD{600, info.dwSize.Y});
}

std::wstring screenText(HANDLE console)
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(console, &info)) return std::wstring();
    std::wstring text;
    std::vector<wchar_t> row(static_cast<size_t>(info.dwSize.X));
    for (SHORT y = 0; y <= info.dwCursorPosition.Y && y < info.dwSize.Y; ++y) {
        DWORD read = 0;
        if (!ReadConsoleOutputCharacterW(console, row.data(), info.dwSize.X, COORD{0, y}, &read)) break;
        std::wstring line(row.data(), read);
        line.erase(line.find_last_not_of(L' ') + 1);
        if (line.empty()) continue;
        if (!text.empty()) text += L'\n';
        text += line;
    }
    return text;
}

}  // namespace

HWND findMessageBoxOf(DWORD processId)
{
    return findTopLevel(processId, [](HWND window) { return GetDlgItem(window, 0xFFFF) != nullptr; });
}

std::wstring toolCommandLine(const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + toolPath() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    return commandLine;
}

std::vector<std::wstring> linesOf(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const size_t end = std::min(text.find(L'\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

CliResult runRedirected(const std::wstring& arguments)
{
    const testsupport::TempFolder folder(L"zovrel cli output");
    const std::wstring path = folder.path() + L"\\output.txt";
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    CliResult result;
    {
        const UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                          0, nullptr));
        if (!file) return result;
        const Started started = start(arguments, file.get());
        result.exitCode = waitForExit(started.process.get());
    }
    result.rawBytes = fileBytes(path);
    std::wstring text = fromUtf8(result.rawBytes);
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at)) text.erase(at, 1);
    if (!text.empty() && text.back() == L'\n') text.pop_back();
    result.output = text;
    return result;
}

CliResult runOnConsole(const std::wstring& arguments)
{
    FreeConsole();
    CliResult result;
    if (!AllocConsole()) return result;
    const UniqueFile console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    widenConsole(console.get());
    const Started started = start(arguments, inheritStandardHandles);
    result.exitCode = waitForExit(started.process.get());
    result.output = screenText(console.get());
    return result;
}

BoxedResult runWithoutConsole(const std::wstring& arguments)
{
    FreeConsole();
    BoxedResult result;
    const Started started = start(arguments, nullptr);
    if (!started.process) return result;
    HANDLE process = started.process.get();
    HWND box = nullptr;
    // The process either ends by itself or waits in its box.
    waitUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0 || (box = findMessageBoxOf(started.processId)); },
              exitWaitMs);
    if (box) {
        const MessageBoxContent content = readMessageBox(box);
        result.sawBox = true;
        result.caption = content.caption;
        result.text = content.text;
        pressDialogButton(box, IDOK);
    }
    result.exitCode = waitForExit(process);
    return result;
}

}  // namespace e2e
