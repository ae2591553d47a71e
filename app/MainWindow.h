#pragma once
// The tool's only window: an edit box for the JDK folder, a button that fills
// it from the folder dialog, a button that configures the environment, and a
// red notice.

#include "syshelper/Text.h"

#include <windows.h>

#include <string>

class MainWindow {
public:
    // Registers the classes, creates the window and its controls and shows it.
    // Returns false (and leaves nothing on screen) when any of them fails.
    bool create(HINSTANCE instance);

    HWND handle() const;

    // The edit box's content in the active ANSI code page, as Windows converts it.
    Text getEditText() const;
    // The same content as the user sees it, for checks that need every character.
    std::wstring getEditTextWide() const;
    void setEditText(const Text& text);
    void setEditTextWide(const std::wstring& text);
};
