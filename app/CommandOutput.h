#pragma once
// Where the command-line mode's lines go. The tool is a GUI program, so
// Windows gives it no console of its own: it writes to the console it was
// started from, UTF-8 into a file or pipe its output was redirected to, and
// into one message box when there is neither (started from Explorer or a
// shortcut), unless it was told to be quiet.

#include "syshelper/Unique.h"

#include <windows.h>

#include <string>

class CommandOutput {
public:
    explicit CommandOutput(bool quiet);
    CommandOutput(const CommandOutput&) = delete;
    CommandOutput& operator=(const CommandOutput&) = delete;

    void writeLine(const std::wstring& line);
    // Shows what was collected for the message box, with `icon`; does nothing
    // for the other destinations.
    void finish(UINT icon);

private:
    enum class Destination { nowhere, console, redirected, messageBox };

    Destination destination_ = Destination::nowhere;
    HANDLE handle_ = nullptr;  // the std handle, or ownConsole_
    UniqueFile ownConsole_;
    std::wstring collected_;
};

// Redirected output is UTF-8, whatever the console's code page: a log file
// or a deployment tool reads it the same on every system.
std::string toUtf8(const std::wstring& text);
