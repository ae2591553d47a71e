#pragma once
// Throw-away folders under %TEMP% for tests, removed with everything in them
// when the owner goes out of scope. Names are wide, so Chinese characters and
// spaces reach the file system unchanged.

#include <string>

namespace testsupport {

class TempFolder {
public:
    // Makes a new, empty folder whose name starts with `prefix`.
    explicit TempFolder(const std::wstring& prefix = L"zovrel test");
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // Full path, no trailing backslash; empty when the folder could not be made.
    const std::wstring& path() const { return path_; }

    // Makes `relative` (and any missing parents) inside this folder and
    // returns its full path, or an empty string on failure.
    std::wstring makeFolder(const std::wstring& relative) const;
    // Writes a small file at `relative`, making missing parents.
    bool writeFile(const std::wstring& relative, const std::string& bytes = "test") const;

private:
    std::wstring path_;
};

// A folder shaped like a JDK home: <folder>\bin\java.exe, a few bytes long.
class JdkFolder {
public:
    explicit JdkFolder(const std::wstring& name = L"jdk 1.8 测试");
    const std::wstring& home() const { return home_; }
    const std::wstring& root() const { return root_.path(); }

private:
    TempFolder root_;
    std::wstring home_;
};

// True when `path` names an existing folder or file.
bool pathExists(const std::wstring& path);

}  // namespace testsupport
