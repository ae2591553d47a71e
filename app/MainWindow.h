#pragma once
// The tool's only window: an edit box for the JDK folder, a button that fills
// it from the folder dialog, a button that configures the environment, and a
// red notice.

#include "syshelper/Text.h"
#include "syshelper/Unique.h"

#include <windows.h>

#include <string>

struct ControlDescription;

class MainWindow {
public:
    MainWindow() = default;
    // The window keeps a pointer to this object, so it stays where it is.
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the classes, creates the window and its controls and shows it.
    // Returns false (and leaves nothing on screen) when any of them fails.
    bool create(HINSTANCE instance);

    HWND handle() const;
    HWND control(int id) const;

    // The edit box's content in the active ANSI code page, as Windows converts it.
    Text getEditText() const;
    // The same content as the user sees it, for checks that need every character.
    std::wstring getEditTextWide() const;
    void setEditText(const Text& text);
    void setEditTextWide(const std::wstring& text);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR subclassId, DWORD_PTR self);

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    bool consumeKeyboard(UINT message, WPARAM wParam);
    bool handleNavigationKey(WPARAM key);
    void onCommand(WPARAM wParam);
    LRESULT onEditColour(HDC dc, HWND control) const;
    void paintBackground(HDC dc, const RECT& area) const;

    bool createFrame(HINSTANCE instance);
    void setIcons(HINSTANCE instance);
    bool createControls(HINSTANCE instance);
    bool createControl(HINSTANCE instance, const ControlDescription& description);
    void setUpEditBox(HWND edit) const;
    void arrangeStacking() const;
    void showAll() const;

    void moveFocus(bool backward) const;
    void restoreFocus() const;
    bool canTakeFocus(HWND control) const;

    // Released after the window (declared before it), since the window and
    // its controls use them until they are destroyed.
    UniqueFont buttonFont_;
    UniqueBrush editBrush_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    HWND lastFocus_ = nullptr;  // not owned: one of the controls below
    bool quitOnDestroy_ = false;
    UniqueWindow window_;
};
