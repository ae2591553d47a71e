// The folder check made before a configuration writes anything.

#include "app/JdkCheck.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using testsupport::TempFolder;

// One throw-away tree with a JDK home, a JDK whose name holds blanks and
// Chinese characters, and the usual wrong picks around them.
class JdkTree : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(root.path().empty());
        ASSERT_TRUE(root.writeFile(L"jdk-17\\bin\\java.exe"));
        ASSERT_TRUE(root.writeFile(L"jdk-17\\bin\\javaw.exe"));
        ASSERT_TRUE(root.writeFile(L"Java 开发\\jdk1.8\\bin\\java.exe"));
        ASSERT_TRUE(root.writeFile(L"Java 开发\\jdk1.8\\jre\\bin\\java.exe"));
        ASSERT_TRUE(root.writeFile(L"jre-only\\bin\\javaw.exe"));
        ASSERT_TRUE(root.writeFile(L"tools\\bin\\readme.txt"));
        ASSERT_TRUE(root.writeFile(L"loose\\java.exe"));
        ASSERT_FALSE(root.makeFolder(L"empty").empty());
        ASSERT_FALSE(root.makeFolder(L"odd\\bin\\java.exe").empty());
    }

    std::wstring at(const std::wstring& relative) const { return root.path() + L"\\" + relative; }

    TempFolder root{L"zovrel jdk check"};
};

struct FolderCase {
    const char* label;
    const wchar_t* relative;       // under the tree
    JdkFolderState expected;
    const wchar_t* proposedHome;   // under the tree; nullptr when nothing is proposed
};

std::ostream& operator<<(std::ostream& out, const FolderCase& c)
{
    return out << c.label;
}

const FolderCase folderCases[] = {
    {"JDK home", L"jdk-17", JdkFolderState::jdkHome, nullptr},
    {"JDK home with a trailing backslash", L"jdk-17\\", JdkFolderState::jdkHome, nullptr},
    // The folder itself resolves (a trailing blank of the last name is
    // dropped), but "%JAVA_HOME%\bin" keeps it inside, where nothing exists.
    {"JDK home with a trailing blank", L"jdk-17 ", JdkFolderState::noJavaExe, nullptr},
    {"JDK home with blanks and Chinese characters", L"Java 开发\\jdk1.8", JdkFolderState::jdkHome, nullptr},
    {"its bin folder", L"jdk-17\\bin", JdkFolderState::insideJdkHome, L"jdk-17"},
    {"its bin folder with a trailing backslash", L"jdk-17\\bin\\", JdkFolderState::insideJdkHome, L"jdk-17"},
    {"bin folder spelt in capitals", L"jdk-17\\BIN", JdkFolderState::insideJdkHome, L"jdk-17"},
    {"java.exe itself", L"jdk-17\\bin\\java.exe", JdkFolderState::insideJdkHome, L"jdk-17"},
    {"javaw.exe", L"jdk-17\\bin\\javaw.exe", JdkFolderState::insideJdkHome, L"jdk-17"},
    {"java.exe of a Chinese-named JDK", L"Java 开发\\jdk1.8\\bin\\java.exe", JdkFolderState::insideJdkHome,
     L"Java 开发\\jdk1.8"},
    // The bundled JRE's own bin folder proposes the JRE, which holds bin\java.exe too.
    {"the jre's bin folder", L"Java 开发\\jdk1.8\\jre\\bin", JdkFolderState::insideJdkHome, L"Java 开发\\jdk1.8\\jre"},
    {"missing folder", L"no such jdk", JdkFolderState::missing, nullptr},
    {"missing folder under a missing one", L"nothing\\here\\bin", JdkFolderState::missing, nullptr},
    {"empty folder", L"empty", JdkFolderState::noJavaExe, nullptr},
    {"bin without java.exe", L"tools\\bin", JdkFolderState::noJavaExe, nullptr},
    {"folder above bin without java.exe", L"tools", JdkFolderState::noJavaExe, nullptr},
    {"javaw.exe in a bin without java.exe", L"jre-only\\bin\\javaw.exe", JdkFolderState::notAFolder, nullptr},
    {"java.exe outside a bin folder", L"loose\\java.exe", JdkFolderState::notAFolder, nullptr},
    {"some other file", L"tools\\bin\\readme.txt", JdkFolderState::notAFolder, nullptr},
    // A folder named java.exe is not a launcher.
    {"folder named java.exe", L"odd\\bin", JdkFolderState::noJavaExe, nullptr},
};

class JdkFolderCheckCase : public JdkTree, public testing::WithParamInterface<FolderCase> {};

TEST_P(JdkFolderCheckCase, ClassifiesThePath)
{
    const FolderCase& c = GetParam();
    const JdkFolderCheck check = checkJdkFolder(at(c.relative));
    EXPECT_EQ(check.state, c.expected);
    EXPECT_EQ(check.proposedHome, c.proposedHome ? at(c.proposedHome) : std::wstring());
}

INSTANTIATE_TEST_SUITE_P(Paths, JdkFolderCheckCase, testing::ValuesIn(folderCases));

TEST_F(JdkTree, ProposesAnAbsoluteHomeForARelativeBinFolder)
{
    wchar_t previous[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(at(L"jdk-17").c_str()));
    const JdkFolderCheck check = checkJdkFolder(L"bin");
    SetCurrentDirectoryW(previous);

    EXPECT_EQ(check.state, JdkFolderState::insideJdkHome);
    EXPECT_EQ(check.proposedHome, at(L"jdk-17"));
}

TEST(JdkCheckPaths, JoinsWithExactlyOneBackslash)
{
    EXPECT_EQ(joinPath(L"C:\\jdk", L"bin"), L"C:\\jdk\\bin");
    EXPECT_EQ(joinPath(L"C:\\jdk\\", L"bin"), L"C:\\jdk\\bin");
    EXPECT_EQ(joinPath(L"C:\\", L"bin"), L"C:\\bin");
    EXPECT_EQ(joinPath(L"", L"bin"), L"bin");
}

}  // namespace
