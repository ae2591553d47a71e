#include "tests/support/TempFolder.h"

#include "syshelper/Unique.h"

#include <windows.h>

namespace testsupport {
namespace {

std::wstring tempRoot()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring root(buffer, length);
    while (!root.empty() && root.back() == L'\\') root.pop_back();
    return root;
}

std::wstring parentOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool makeFolders(const std::wstring& path)
{
    if (path.empty() || pathExists(path)) return true;
    if (!makeFolders(parentOf(path))) return false;
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void removeTree(const std::wstring& path)
{
    WIN32_FIND_DATAW entry;
    UniqueFind search(FindFirstFileW((path + L"\\*").c_str(), &entry));
    if (search) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search.get(), &entry));
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

bool pathExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TempFolder::TempFolder(const std::wstring& prefix)
{
    const std::wstring root = tempRoot();
    // The process id and a counter keep parallel test processes apart.
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = root + L"\\" + prefix + L" " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++serial);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = std::move(candidate);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

TempFolder::~TempFolder()
{
    if (!path_.empty()) removeTree(path_);
}

std::wstring TempFolder::makeFolder(const std::wstring& relative) const
{
    if (path_.empty()) return std::wstring();
    std::wstring full = path_ + L"\\" + relative;
    return makeFolders(full) ? full : std::wstring();
}

bool TempFolder::writeFile(const std::wstring& relative, const std::string& bytes) const
{
    if (path_.empty()) return false;
    const std::wstring full = path_ + L"\\" + relative;
    if (!makeFolders(parentOf(full))) return false;
    UniqueFile file(
        CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

JdkFolder::JdkFolder(const std::wstring& name) : root_(L"zovrel jdk")
{
    if (root_.path().empty()) return;
    if (root_.writeFile(name + L"\\bin\\java.exe", "MZ stand-in java")) home_ = root_.path() + L"\\" + name;
}

}  // namespace testsupport
