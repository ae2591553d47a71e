#include "app/BrowseAction.h"

#include "app/Actions.h"
#include "app/MainWindow.h"
#include "app/Strings.h"
#include "syshelper/Unique.h"

#include <windows.h>
#include <shlobj.h>

#include <utility>
#include <vector>

namespace {

// An item list the shell allocated, freed with the shell's own allocator.
class ShellItemList {
public:
    explicit ShellItemList(PIDLIST_ABSOLUTE items) : items_(items) {}
    ShellItemList(const ShellItemList&) = delete;
    ShellItemList& operator=(const ShellItemList&) = delete;
    ~ShellItemList()
    {
        ComPtr<IMalloc> allocator;
        if (items_ && SUCCEEDED(SHGetMalloc(allocator.put()))) allocator->Free(items_);
    }

    PCIDLIST_ABSOLUTE get() const { return items_; }

private:
    PIDLIST_ABSOLUTE items_;
};

// Makes the dialog modal to the whole program: while it lives, the program's
// visible top-level windows are disabled; afterwards each gets its former
// state back, and the foreground and active windows are given back too.
class ProgramWindowsDisabled {
public:
    explicit ProgramWindowsDisabled(HWND owner) : owner_(owner), foreground_(GetForegroundWindow())
    {
        EnumThreadWindows(GetCurrentThreadId(), disableOne, reinterpret_cast<LPARAM>(this));
    }
    ProgramWindowsDisabled(const ProgramWindowsDisabled&) = delete;
    ProgramWindowsDisabled& operator=(const ProgramWindowsDisabled&) = delete;
    ~ProgramWindowsDisabled()
    {
        for (const auto& [window, wasEnabled] : formerStates_) {
            if (IsWindow(window)) EnableWindow(window, wasEnabled);
        }
        if (foreground_ && IsWindow(foreground_)) SetForegroundWindow(foreground_);
        if (owner_ && IsWindow(owner_)) SetActiveWindow(owner_);
    }

private:
    static BOOL CALLBACK disableOne(HWND window, LPARAM self)
    {
        // Hidden windows (OLE's message windows, for one) take no input anyway.
        if (IsWindowVisible(window)) {
            const bool wasEnabled = EnableWindow(window, FALSE) == FALSE;  // returns whether it *was* disabled
            reinterpret_cast<ProgramWindowsDisabled*>(self)->formerStates_.emplace_back(window, wasEnabled);
        }
        return TRUE;
    }

    HWND owner_;
    HWND foreground_;
    std::vector<std::pair<HWND, BOOL>> formerStates_;
};

HWND activeWindowOrNone()
{
    HWND active = GetActiveWindow();
    return IsWindow(active) ? active : nullptr;
}

}  // namespace

std::wstring browseForFolder(const wchar_t* title, bool includeFiles)
{
    wchar_t path[MAX_PATH] = {};

    // No callback: the dialog starts at the desktop, not at the box's path.
    BROWSEINFOW info{};
    info.hwndOwner = activeWindowOrNone();
    info.pszDisplayName = path;
    info.lpszTitle = title;
    info.ulFlags = BIF_EDITBOX | (includeFiles ? BIF_BROWSEINCLUDEFILES : 0);

    PIDLIST_ABSOLUTE chosen = nullptr;
    {
        ProgramWindowsDisabled modal(info.hwndOwner);
        chosen = SHBrowseForFolderW(&info);
    }
    if (!chosen) return {};

    const ShellItemList items(chosen);
    path[0] = L'\0';
    if (!SHGetPathFromIDListW(items.get(), path)) return {};
    return path;
}

// A chosen path replaces the box's text; cancelling, or choosing an item
// without a file-system path, leaves what the user had typed in place.
void onBrowseClicked(MainWindow& window)
{
    const std::wstring path = browseForFolder(strings::browseTitle, true);
    if (!path.empty()) window.setEditTextWide(path);
}
