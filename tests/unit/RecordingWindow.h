#pragma once
// A message-only window that records the messages reaching its window
// procedure, and a way to empty the thread's queue, for tests of the
// message pump and of the listing that runs it.

#include "syshelper/Unique.h"

#include <vector>

namespace unittest {

class RecordingWindow {
public:
    RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND handle() const { return window_.get(); }
    // Keyboard messages and WM_APP to WM_APP + 100, in the order received.
    const std::vector<UINT>& received() const { return received_; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::vector<UINT> received_;
    UniqueWindow window_;
};

// Empties the thread's queue; true when a WM_QUIT was in it, with its exit code.
bool takeQuit(WPARAM& exitCode);

}  // namespace unittest
