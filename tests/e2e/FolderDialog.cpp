#include "tests/e2e/FolderDialog.h"

#include "syshelper/Unique.h"

#include <algorithm>

namespace e2e {

namespace {

constexpr UINT messageTimeoutMs = 5000;
constexpr size_t textCapacity = 520;  // characters

// Memory in another process, freed again with it.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE))
    {
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory()
    {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    BYTE* get() const { return static_cast<BYTE*>(address_); }

private:
    HANDLE process_;
    void* address_;
};

LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, messageTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

bool sameName(const std::wstring& left, const std::wstring& right)
{
    return CompareStringOrdinal(left.c_str(), -1, right.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::vector<std::wstring> pathParts(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find(L'\\', start), path.size());
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

FolderDialog::FolderDialog(const AppDriver& app, DWORD timeoutMs)
    : app_(app), dialog_(app.waitForDialogWith(folderTreeId, timeoutMs))
{
}

std::vector<HWND> FolderDialog::visibleChildren(const wchar_t* windowClass) const
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && sameName(className(child), windowClass)) found.push_back(child);
    }
    return found;
}

HTREEITEM FolderDialog::root() const
{
    return reinterpret_cast<HTREEITEM>(sendTo(tree(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM FolderDialog::selection() const
{
    return reinterpret_cast<HTREEITEM>(sendTo(tree(), TVM_GETNEXTITEM, TVGN_CARET, 0));
}

std::vector<HTREEITEM> FolderDialog::children(HTREEITEM parent) const
{
    sendTo(tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    std::vector<HTREEITEM> items;
    auto item = reinterpret_cast<HTREEITEM>(sendTo(tree(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    while (item) {
        items.push_back(item);
        item = reinterpret_cast<HTREEITEM>(sendTo(tree(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return items;
}

std::wstring FolderDialog::itemText(HTREEITEM item) const
{
    const RemoteMemory remote(app_.process(), sizeof(TVITEMW) + textCapacity * sizeof(wchar_t));
    if (!remote.get()) return {};
    BYTE* remoteText = remote.get() + sizeof(TVITEMW);

    TVITEMW request{};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = reinterpret_cast<wchar_t*>(remoteText);
    request.cchTextMax = static_cast<int>(textCapacity);
    SIZE_T moved = 0;
    if (!WriteProcessMemory(app_.process(), remote.get(), &request, sizeof request, &moved)) return {};
    if (!sendTo(tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.get()))) return {};

    std::wstring text(textCapacity, L'\0');
    if (!ReadProcessMemory(app_.process(), remoteText, text.data(), textCapacity * sizeof(wchar_t), &moved)) return {};
    text.resize(std::wcslen(text.c_str()));
    return text;
}

bool FolderDialog::isExpanded(HTREEITEM item) const
{
    return (sendTo(tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

HTREEITEM FolderDialog::computerItem() const
{
    for (HTREEITEM candidate : children(root())) {
        for (HTREEITEM drive : children(candidate)) {
            if (itemText(drive).find(L"(C:)") != std::wstring::npos) return candidate;
        }
    }
    return nullptr;
}

HTREEITEM FolderDialog::driveItem(const std::wstring& drive) const
{
    HTREEITEM computer = computerItem();
    if (!computer) return nullptr;
    for (HTREEITEM item : children(computer)) {
        if (itemText(item).find(L"(" + drive + L")") != std::wstring::npos) return item;
    }
    return nullptr;
}

HTREEITEM FolderDialog::childNamed(HTREEITEM parent, const std::wstring& name) const
{
    for (HTREEITEM item : children(parent)) {
        if (sameName(itemText(item), name)) return item;
    }
    return nullptr;
}

HTREEITEM FolderDialog::locate(const std::wstring& path) const
{
    const std::vector<std::wstring> parts = pathParts(path);
    if (parts.empty()) return nullptr;
    HTREEITEM item = driveItem(parts.front());
    for (size_t i = 1; item && i < parts.size(); ++i) item = childNamed(item, parts[i]);
    return item;
}

bool FolderDialog::select(HTREEITEM item) const
{
    sendTo(tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    return selection() == item;
}

bool FolderDialog::close(int buttonId) const
{
    pressDialogButton(dialog_, buttonId);
    return waitUntil([&] { return !IsWindow(dialog_) || !IsWindowVisible(dialog_); });
}

}  // namespace e2e
