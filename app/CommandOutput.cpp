#include "app/CommandOutput.h"

#include "app/Strings.h"
#include "syshelper/TextConversion.h"

namespace {

bool isUsable(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return isUsable(handle) && GetConsoleMode(handle, &mode);
}

bool isFileOrPipe(HANDLE handle)
{
    if (!isUsable(handle)) return false;
    const DWORD type = GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR;
}

// Windows attaches a GUI program to no console; Wine already has it attached
// to its parent's and answers ERROR_ACCESS_DENIED.
bool attachToParentConsole()
{
    return AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED;
}

UniqueFile openConsoleOutput()
{
    return UniqueFile(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
}

}  // namespace

std::string toUtf8(const std::wstring& text)
{
    return toText(text, CP_UTF8);
}

CommandOutput::CommandOutput(bool quiet)
{
    if (quiet) return;
    const bool attached = attachToParentConsole();
    // A redirection made by the parent arrives as the standard output handle.
    const HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    if (isConsole(standardOutput)) {
        destination_ = Destination::console;
        handle_ = standardOutput;
    } else if (isFileOrPipe(standardOutput)) {
        destination_ = Destination::redirected;
        handle_ = standardOutput;
    } else if (attached && (ownConsole_ = openConsoleOutput())) {
        destination_ = Destination::console;
        handle_ = ownConsole_.get();
    } else {
        destination_ = Destination::messageBox;
    }
}

void CommandOutput::writeLine(const std::wstring& line)
{
    const std::wstring text = line + L"\r\n";
    DWORD written = 0;
    switch (destination_) {
    case Destination::console:
        WriteConsoleW(handle_, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        break;
    case Destination::redirected: {
        const std::string bytes = toUtf8(text);
        WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        break;
    }
    case Destination::messageBox:
        collected_ += text;
        break;
    case Destination::nowhere:
        break;
    }
}

void CommandOutput::finish(UINT icon)
{
    if (destination_ != Destination::messageBox || collected_.empty()) return;
    MessageBoxW(nullptr, collected_.c_str(), strings::configureCaption, MB_OK | MB_SETFOREGROUND | icon);
}
