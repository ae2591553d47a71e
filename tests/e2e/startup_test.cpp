// Start-up: whatever directory the tool is started from, it works in the
// folder that holds its executable.

#include "tests/e2e/AppDriver.h"
#include "tests/support/ParamPrint.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring folderOf(const std::wstring& path)
{
    return path.substr(0, path.rfind(L'\\'));
}

std::wstring withoutTrailingBackslash(std::wstring path)
{
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

bool samePath(const std::wstring& left, const std::wstring& right)
{
    return CompareStringOrdinal(withoutTrailingBackslash(left).c_str(), -1, withoutTrailingBackslash(right).c_str(),
                                -1, TRUE) == CSTR_EQUAL;
}

struct ExecutablePlace {
    const char* name;
    // Empty: the built executable where it is; otherwise a folder made for a
    // copy of it, and the copy's file name.
    const wchar_t* copyFolder;
    const wchar_t* copyName;
};

void PrintTo(const ExecutablePlace& c, std::ostream* out)
{
    if (!*c.copyFolder) {
        *out << "the built executable";
        return;
    }
    *out << "a copy " << testsupport::brief(std::wstring(c.copyFolder) + L"\\" + c.copyName);
}

class StartupDirectoryTest : public ::testing::TestWithParam<ExecutablePlace> {};

TEST_P(StartupDirectoryTest, IsTheExecutablesFolderWhereverTheToolWasStartedFrom)
{
    const testsupport::TempFolder startedFrom(L"zovrel started from");
    ASSERT_FALSE(startedFrom.path().empty());

    std::wstring executable = e2e::toolPath();
    const testsupport::TempFolder copyRoot(L"zovrel exe");
    if (*GetParam().copyFolder) {
        const std::wstring folder = copyRoot.makeFolder(GetParam().copyFolder);
        ASSERT_FALSE(folder.empty());
        const std::wstring copy = folder + L"\\" + GetParam().copyName;
        ASSERT_TRUE(CopyFileW(executable.c_str(), copy.c_str(), TRUE));
        executable = copy;
    }

    e2e::StartOptions options;
    options.executable = executable;
    options.currentDirectory = startedFrom.path();
    e2e::AppDriver app(options);
    ASSERT_TRUE(app.ready());

    const auto directory = app.currentDirectory();
    ASSERT_TRUE(directory.has_value()) << "cannot read the process parameters";
    EXPECT_TRUE(samePath(*directory, folderOf(executable)))
        << "current directory is " << testing::PrintToString(*directory);
    // End it while its copy and folders still exist to be removed afterwards.
    PostMessageW(app.window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.waitForExit().has_value());
}

// In code page 936 the second byte of "乗" and "俓" is 0x5C, a backslash:
// a cut of the ANSI path at its last 0x5C byte would land inside the file
// name and leave a broken folder name.
INSTANTIATE_TEST_SUITE_P(
    Places, StartupDirectoryTest,
    ::testing::Values(ExecutablePlace{"BuildFolder", L"", L""},
                      ExecutablePlace{"ChineseAndSpaces", L"工具 目录\\java 配置", L"zovrel-javaenv.exe"},
                      ExecutablePlace{"TrailByteInFolderAndFileName", L"乗俓\\工具乗", L"配置俓乗.exe"}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
