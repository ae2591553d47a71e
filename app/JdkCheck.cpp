#include "app/JdkCheck.h"

#include <windows.h>

#include <vector>

namespace {

enum class PathKind { none, folder, file };

PathKind kindOf(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::none;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::folder : PathKind::file;
}

bool isSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// "C:\" keeps its backslash: "C:" alone would name the drive's current directory.
bool isDriveRoot(const std::wstring& path)
{
    return path.size() == 3 && path[1] == L':' && isSeparator(path[2]);
}

std::wstring withoutTrailingSeparators(std::wstring path)
{
    while (path.size() > 1 && isSeparator(path.back()) && !isDriveRoot(path)) path.pop_back();
    return path;
}

std::wstring lastComponent(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring parentOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return std::wstring();
    return withoutTrailingSeparators(path.substr(0, separator + 1));
}

bool sameNameIgnoringCase(const std::wstring& a, const wchar_t* b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

// Proposals are absolute, so the edit box never gets a path that depends on
// the current directory.
std::wstring absolutePath(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::vector<wchar_t> buffer(needed);
    const DWORD length = GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    return std::wstring(buffer.data(), length);
}

bool isJdkBinFolder(const std::wstring& folder)
{
    return sameNameIgnoringCase(lastComponent(folder), L"bin") && holdsJavaExe(folder);
}

JdkFolderCheck proposeHomeAbove(const std::wstring& binFolder)
{
    return {JdkFolderState::insideJdkHome, parentOf(absolutePath(binFolder))};
}

JdkFolderCheck checkFolder(const std::wstring& folder)
{
    if (holdsJavaExe(joinPath(folder, L"bin"))) return {JdkFolderState::jdkHome, {}};
    if (isJdkBinFolder(folder)) return proposeHomeAbove(folder);
    return {JdkFolderState::noJavaExe, {}};
}

JdkFolderCheck checkFile(const std::wstring& file)
{
    const std::wstring name = lastComponent(file);
    const bool isLauncher = sameNameIgnoringCase(name, L"java.exe") || sameNameIgnoringCase(name, L"javaw.exe");
    const std::wstring folder = parentOf(file);
    if (isLauncher && isJdkBinFolder(folder)) return proposeHomeAbove(folder);
    return {JdkFolderState::notAFolder, {}};
}

}  // namespace

std::wstring joinPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || isSeparator(folder.back())) return folder + name;
    return folder + L'\\' + name;
}

bool holdsJavaExe(const std::wstring& folder)
{
    return kindOf(joinPath(folder, L"java.exe")) == PathKind::file;
}

JdkFolderCheck checkJdkFolder(const std::wstring& folder)
{
    const std::wstring path = withoutTrailingSeparators(folder);
    switch (kindOf(path)) {
    case PathKind::folder:
        return checkFolder(path);
    case PathKind::file:
        return checkFile(path);
    case PathKind::none:
        break;
    }
    return {JdkFolderState::missing, {}};
}
