#pragma once
// Running our own executable again as administrator, on the user's demand,
// when the machine scope refused the writes.

#include <windows.h>

#include <string>

struct ElevatedRun {
    // False when it could not be started; `error` then says why
    // (ERROR_CANCELLED: the user declined the elevation prompt).
    bool started = false;
    DWORD error = ERROR_SUCCESS;
    DWORD exitCode = 0;
};

// Starts this executable with the verb "runas" and `parameters`, and waits
// for it to end. `owner` is disabled meanwhile but keeps painting, since the
// wait dispatches this thread's messages.
ElevatedRun runElevated(HWND owner, const std::wstring& parameters);

// This process's executable, whatever the length of its path.
std::wstring ownExecutablePath();
