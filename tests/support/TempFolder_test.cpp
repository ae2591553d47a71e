#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

TEST(TempFolderTest, IsRemovedWithItsContentsIncludingWideNames)
{
    std::wstring path;
    std::wstring nested;
    {
        TempFolder folder(L"zovrel 临时 folder");
        path = folder.path();
        // Wine turns non-ASCII names into Unix ones only under a real UTF-8
        // glibc locale; a locale name alone gives code page 936 but no files.
        ASSERT_FALSE(path.empty()) << "a folder with a Chinese name could not be made";
        nested = folder.makeFolder(L"子目录 one\\two");
        ASSERT_FALSE(nested.empty());
        ASSERT_TRUE(folder.writeFile(L"子目录 one\\two\\文件.txt"));
        EXPECT_TRUE(pathExists(nested + L"\\文件.txt"));
    }
    EXPECT_FALSE(pathExists(nested));
    EXPECT_FALSE(pathExists(path));
}

TEST(TempFolderTest, TwoFoldersWithOnePrefixAreDistinct)
{
    TempFolder first(L"same");
    TempFolder second(L"same");
    ASSERT_FALSE(first.path().empty());
    EXPECT_NE(first.path(), second.path());
}

TEST(JdkFolderTest, HasJavaExeUnderBin)
{
    std::wstring home;
    {
        JdkFolder jdk(L"Java 开发包 1.8");
        home = jdk.home();
        ASSERT_FALSE(home.empty());
        EXPECT_EQ(0u, home.find(jdk.root()));
        EXPECT_TRUE(pathExists(home + L"\\bin\\java.exe"));
    }
    EXPECT_FALSE(pathExists(home));
}

}  // namespace
