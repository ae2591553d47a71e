#pragma once
// Drives the shell's folder dialog that the tool opens, from the test
// process: its tree (control 0x3741) is walked with tree-view messages, and
// item texts are read through a buffer placed in the tool's own process,
// since a tree view writes them into its own address space.

#include "tests/e2e/AppDriver.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace e2e {

inline constexpr int folderTreeId = 0x3741;

class FolderDialog {
public:
    // Waits for the dialog of `app`; check found() before using it.
    explicit FolderDialog(const AppDriver& app, DWORD timeoutMs = defaultWaitMs);

    bool found() const { return dialog_ != nullptr; }
    HWND handle() const { return dialog_; }
    HWND tree() const { return GetDlgItem(dialog_, folderTreeId); }

    // The visible child controls of a class ("Static", "Edit", ...).
    std::vector<HWND> visibleChildren(const wchar_t* windowClass) const;

    HTREEITEM root() const;
    HTREEITEM selection() const;
    // Expands `parent` (the dialog fills it on demand) and lists its children.
    std::vector<HTREEITEM> children(HTREEITEM parent) const;
    std::wstring itemText(HTREEITEM item) const;
    bool isExpanded(HTREEITEM item) const;

    // The drive item of `drive` ("C:") under the computer's item, or none.
    HTREEITEM driveItem(const std::wstring& drive) const;
    // A virtual item: the one under the desktop that holds the drives.
    HTREEITEM computerItem() const;
    // The item of an existing path on a local drive ("C:\users\..."), found
    // by walking from the drive down one name at a time.
    HTREEITEM locate(const std::wstring& path) const;

    bool select(HTREEITEM item) const;
    // Presses OK or Cancel and waits until the dialog is gone.
    bool accept() const { return close(IDOK); }
    bool cancel() const { return close(IDCANCEL); }

private:
    bool close(int buttonId) const;
    HTREEITEM childNamed(HTREEITEM parent, const std::wstring& name) const;

    const AppDriver& app_;
    HWND dialog_ = nullptr;
};

}  // namespace e2e
