#pragma once
// Runs the real executable in its command-line mode, the three ways a caller
// can meet it: from a console, with its output redirected to a file, and
// with no console at all (its result then comes in a message box).

#include "syshelper/Unique.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct CliResult {
    std::optional<DWORD> exitCode;  // nothing when it did not end in time
    // Redirected: the bytes written, as UTF-8 text; console: the screen's
    // rows, trailing blanks cut, empty rows dropped, joined with '\n'.
    std::wstring output;
    std::string rawBytes;  // redirected only
};

// Output into a file through the standard handles, as "tool > log.txt" does.
CliResult runRedirected(const std::wstring& arguments);

// On a fresh console of this test process, as started from a cmd prompt.
CliResult runOnConsole(const std::wstring& arguments);

// With no console anywhere: the test process gives its own up first. Calls
// `onBox` with the message box (if one comes) before pressing its OK.
struct BoxedResult {
    std::optional<DWORD> exitCode;
    bool sawBox = false;
    std::wstring caption;
    std::wstring text;
};
BoxedResult runWithoutConsole(const std::wstring& arguments);

// A visible message box (text in child 0xFFFF) of the process, or none.
HWND findMessageBoxOf(DWORD processId);

// The tool's quoted path followed by `arguments`.
std::wstring toolCommandLine(const std::wstring& arguments);

// Lines of `text` split at '\n'.
std::vector<std::wstring> linesOf(const std::wstring& text);

}  // namespace e2e
