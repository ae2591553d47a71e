// What a console opened after a configuration would run: the environment a
// new process gets from the registry, and the first java.exe on its PATH.

#include "app/ConsoleCheck.h"
#include "tests/support/Registry.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using testsupport::SavedVariable;
using testsupport::StoredValue;
using testsupport::TempFolder;

EnvironmentValue plain(const wchar_t* name, const std::wstring& data)
{
    return {name, data, false};
}

EnvironmentValue expandable(const wchar_t* name, const std::wstring& data)
{
    return {name, data, true};
}

std::vector<std::wstring> folders(const NewProcessEnvironment& environment, PathScope scope)
{
    std::vector<std::wstring> result;
    for (const ConsolePathEntry& entry : environment.path()) {
        if (entry.scope == scope) result.push_back(entry.folder);
    }
    return result;
}

struct ExpandCase {
    const char* label;
    const wchar_t* text;
    const wchar_t* expected;
};

std::ostream& operator<<(std::ostream& out, const ExpandCase& c)
{
    return out << c.label;
}

const ExpandCase expandCases[] = {
    {"no reference", L"C:\\jdk\\bin", L"C:\\jdk\\bin"},
    {"one reference", L"%JAVA_HOME%\\bin", L"C:\\jdk\\bin"},
    {"name in another case", L"%java_home%\\bin", L"C:\\jdk\\bin"},
    {"two references", L"%SystemRoot%;%JAVA_HOME%", L"C:\\Windows;C:\\jdk"},
    {"undefined name stays", L"%NOT_SET%\\bin", L"%NOT_SET%\\bin"},
    {"undefined then defined", L"%NOT_SET%JAVA_HOME%", L"%NOT_SETC:\\jdk"},
    {"double percent", L"100%% sure", L"100%% sure"},
    {"lone percent", L"50% off", L"50% off"},
    {"percent at the end", L"C:\\jdk%", L"C:\\jdk%"},
    {"empty text", L"", L""},
};

class ReferenceExpansion : public testing::TestWithParam<ExpandCase> {};

TEST_P(ReferenceExpansion, ReplacesDefinedNamesOnly)
{
    const NewProcessEnvironment environment(
        {{plain(L"SystemRoot", L"C:\\Windows")}, {plain(L"JAVA_HOME", L"C:\\jdk")}, {}});
    EXPECT_EQ(expandReferences(GetParam().text, environment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReferenceExpansion, testing::ValuesIn(expandCases));

TEST(NewProcessEnvironment, ExpandsOnlyExpandableValuesAndOnlyFromEarlierPasses)
{
    const NewProcessEnvironment environment({
        {plain(L"SystemRoot", L"C:\\Windows"), plain(L"USERPROFILE", L"C:\\Users\\li")},
        {plain(L"JAVA_HOME", L"C:\\jdk"), plain(L"LITERAL", L"%JAVA_HOME%\\x"),
         expandable(L"JRE_HOME", L"%JAVA_HOME%\\jre"), expandable(L"EARLY", L"%LATE%"), plain(L"M_ONLY", L"m")},
        {plain(L"LATE", L"user"), expandable(L"TOOLS", L"%USERPROFILE%\\tools;%M_ONLY%")},
    });
    EXPECT_EQ(environment.variable(L"LITERAL"), L"%JAVA_HOME%\\x");
    EXPECT_EQ(environment.variable(L"JRE_HOME"), L"C:\\jdk\\jre");
    EXPECT_EQ(environment.variable(L"EARLY"), L"%LATE%");
    EXPECT_EQ(environment.variable(L"tools"), L"C:\\Users\\li\\tools;m");
    EXPECT_EQ(environment.variable(L"NOT_SET"), std::nullopt);
}

TEST(NewProcessEnvironment, UserValuesReplaceMachineValuesExceptPath)
{
    const NewProcessEnvironment environment({
        {},
        {plain(L"JAVA_HOME", L"C:\\machine-jdk"), expandable(L"Path", L"C:\\Windows;%JAVA_HOME%\\bin")},
        {plain(L"JAVA_HOME", L"C:\\user-jdk"), expandable(L"PATH", L"%JAVA_HOME%\\bin;C:\\Users\\li\\bin")},
    });
    EXPECT_EQ(environment.variable(L"JAVA_HOME"), L"C:\\user-jdk");
    // The machine PATH was expanded before the user's JAVA_HOME existed.
    EXPECT_EQ(environment.variable(L"PATH"),
              L"C:\\Windows;C:\\machine-jdk\\bin;C:\\user-jdk\\bin;C:\\Users\\li\\bin");
    EXPECT_EQ(folders(environment, PathScope::machine),
              (std::vector<std::wstring>{L"C:\\Windows", L"C:\\machine-jdk\\bin"}));
    EXPECT_EQ(folders(environment, PathScope::user),
              (std::vector<std::wstring>{L"C:\\user-jdk\\bin", L"C:\\Users\\li\\bin"}));
}

TEST(NewProcessEnvironment, PathEntriesLoseQuotesBlanksAndEmptySlots)
{
    const NewProcessEnvironment environment(
        {{}, {plain(L"PATH", L" C:\\a ;;\"C:\\Program Files\\b\";;")}, {plain(L"PATH", L"C:\\u")}});
    EXPECT_EQ(folders(environment, PathScope::machine),
              (std::vector<std::wstring>{L"C:\\a", L"C:\\Program Files\\b"}));
    EXPECT_EQ(folders(environment, PathScope::user), (std::vector<std::wstring>{L"C:\\u"}));
}

TEST(NewProcessEnvironment, UserPathStandsAloneWithoutAMachinePath)
{
    const NewProcessEnvironment environment({{}, {}, {plain(L"PATH", L"C:\\u")}});
    EXPECT_EQ(environment.variable(L"PATH"), L"C:\\u");
}

TEST(SameFolder, IgnoresCaseTrailingBackslashAndDots)
{
    EXPECT_TRUE(isSameFolder(L"C:\\Java\\JDK\\bin", L"c:\\java\\jdk\\bin\\"));
    EXPECT_TRUE(isSameFolder(L"C:\\Java\\jdk\\..\\jdk\\.\\bin", L"C:\\Java\\jdk\\bin"));
    EXPECT_FALSE(isSameFolder(L"C:\\Java\\jdk\\bin", L"C:\\Java\\jdk\\jre\\bin"));
    EXPECT_FALSE(isSameFolder(L"", L""));
}

// Scenarios on a real tree: "{T}" in a value stands for the tree's folder.
struct ConsoleCase {
    const char* label;
    std::vector<EnvironmentValue> machine;
    std::vector<EnvironmentValue> user;
    ConsoleJavaWinner expected;
    const wchar_t* folder;  // under the tree, "" for none
};

std::ostream& operator<<(std::ostream& out, const ConsoleCase& c)
{
    return out << c.label;
}

const std::wstring javaPath = L"%JAVA_HOME%\\bin;%JRE_HOME%\\bin";

const ConsoleCase consoleCases[] = {
    {"JAVA_HOME's bin is the only java",
     {plain(L"JAVA_HOME", L"{T}\\jdk"), plain(L"JRE_HOME", L"%JAVA_HOME%\\jre"),
      expandable(L"PATH", L"{T}\\system;" + javaPath)},
     {},
     ConsoleJavaWinner::javaHomeBin,
     L"jdk\\bin"},
    {"an installer's folder earlier on the machine PATH",
     {plain(L"JAVA_HOME", L"{T}\\jdk"), expandable(L"PATH", L"{T}\\javapath;{T}\\system;" + javaPath)},
     {},
     ConsoleJavaWinner::earlierPathEntry,
     L"javapath"},
    {"an earlier folder without java.exe does not count",
     {plain(L"JAVA_HOME", L"{T}\\jdk"), expandable(L"PATH", L"{T}\\system;{T}\\missing;" + javaPath)},
     {},
     ConsoleJavaWinner::javaHomeBin,
     L"jdk\\bin"},
    {"a user JAVA_HOME elsewhere",
     {plain(L"JAVA_HOME", L"{T}\\jdk"), expandable(L"PATH", javaPath)},
     {plain(L"JAVA_HOME", L"{T}\\other-jdk")},
     ConsoleJavaWinner::userJavaHome,
     L"other-jdk\\bin"},
    {"a user JAVA_HOME naming the same folder",
     {plain(L"JAVA_HOME", L"{T}\\jdk"), expandable(L"PATH", javaPath)},
     {plain(L"JAVA_HOME", L"{T}\\JDK\\")},
     ConsoleJavaWinner::javaHomeBin,
     L"jdk\\bin"},
    {"a user PATH entry when JAVA_HOME's bin has no java.exe",
     {plain(L"JAVA_HOME", L"{T}\\missing"), expandable(L"PATH", L"{T}\\system;" + javaPath)},
     {plain(L"PATH", L"{T}\\other-jdk\\bin")},
     ConsoleJavaWinner::userPathEntry,
     L"other-jdk\\bin"},
    {"a user PATH entry cannot beat the machine one",
     {plain(L"JAVA_HOME", L"{T}\\jdk"), expandable(L"PATH", javaPath)},
     {plain(L"PATH", L"{T}\\other-jdk\\bin")},
     ConsoleJavaWinner::javaHomeBin,
     L"jdk\\bin"},
    {"the earlier entry wins over a user JAVA_HOME",
     {plain(L"JAVA_HOME", L"{T}\\jdk"), expandable(L"PATH", L"{T}\\javapath;" + javaPath)},
     {plain(L"JAVA_HOME", L"{T}\\other-jdk")},
     ConsoleJavaWinner::earlierPathEntry,
     L"javapath"},
    {"no java.exe anywhere",
     {plain(L"JAVA_HOME", L"{T}\\missing"), expandable(L"PATH", L"{T}\\system;" + javaPath)},
     {},
     ConsoleJavaWinner::none,
     L""},
    {"no PATH written",
     {plain(L"JAVA_HOME", L"{T}\\jdk"), expandable(L"PATH", L"{T}\\system")},
     {},
     ConsoleJavaWinner::none,
     L""},
};

class ConsoleJava : public testing::TestWithParam<ConsoleCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.writeFile(L"jdk\\bin\\java.exe"));
        ASSERT_TRUE(tree.writeFile(L"jdk\\jre\\bin\\java.exe"));
        ASSERT_TRUE(tree.writeFile(L"other-jdk\\bin\\java.exe"));
        ASSERT_TRUE(tree.writeFile(L"javapath\\java.exe"));
        ASSERT_TRUE(tree.writeFile(L"system\\cmd.exe"));
    }

    std::vector<EnvironmentValue> placed(std::vector<EnvironmentValue> values) const
    {
        for (EnvironmentValue& value : values) {
            for (size_t at = value.data.find(L"{T}"); at != std::wstring::npos; at = value.data.find(L"{T}")) {
                value.data.replace(at, 3, tree.path());
            }
        }
        return values;
    }

    TempFolder tree{L"zovrel console java"};
};

TEST_P(ConsoleJava, NamesTheWinnerAndWhy)
{
    const ConsoleCase& c = GetParam();
    const ConsoleJavaVerdict verdict = judgeConsoleJava({{}, placed(c.machine), placed(c.user)});
    EXPECT_EQ(verdict.winner, c.expected);
    if (*c.folder) {
        EXPECT_TRUE(isSameFolder(verdict.folder, tree.path() + L"\\" + c.folder)) << verdict.folder.c_str();
    } else {
        EXPECT_EQ(verdict.folder, L"");
    }
    EXPECT_EQ(verdict.javaHomeWins(), c.expected == ConsoleJavaWinner::javaHomeBin);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ConsoleJava, testing::ValuesIn(consoleCases));

// The sources as read from this prefix's registry, with two values of our own.
class RegistrySources : public testing::Test {
protected:
    SavedVariable machineValue{testsupport::systemEnvironment, L"ZOVREL_CHECK_M"};
    SavedVariable userValue{testsupport::userEnvironment, L"ZOVREL_CHECK_U"};
};

const EnvironmentValue* find(const std::vector<EnvironmentValue>& values, const wchar_t* name)
{
    for (const EnvironmentValue& value : values) {
        if (_wcsicmp(value.name.c_str(), name) == 0) return &value;
    }
    return nullptr;
}

TEST_F(RegistrySources, ReadsBothKeysWithTheirTypesAndKeepsBaseApart)
{
    ASSERT_EQ(writeValue(testsupport::systemEnvironment, L"ZOVREL_CHECK_M", StoredValue{REG_EXPAND_SZ, L"%SystemRoot%\\m"}),
              ERROR_SUCCESS);
    ASSERT_EQ(writeValue(testsupport::userEnvironment, L"ZOVREL_CHECK_U", StoredValue{REG_SZ, L"u value"}),
              ERROR_SUCCESS);

    const EnvironmentSources sources = readEnvironmentSources();
    const EnvironmentValue* machine = find(sources.machine, L"ZOVREL_CHECK_M");
    const EnvironmentValue* user = find(sources.user, L"ZOVREL_CHECK_U");
    ASSERT_NE(machine, nullptr);
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(machine->data, L"%SystemRoot%\\m");
    EXPECT_TRUE(machine->expandable);
    EXPECT_EQ(user->data, L"u value");
    EXPECT_FALSE(user->expandable);

    EXPECT_EQ(find(sources.base, L"ZOVREL_CHECK_M"), nullptr);
    EXPECT_EQ(find(sources.base, L"ZOVREL_CHECK_U"), nullptr);
    EXPECT_EQ(find(sources.base, L"PATH"), nullptr);
    ASSERT_NE(find(sources.base, L"SystemRoot"), nullptr);

    wchar_t systemRoot[MAX_PATH] = {};
    ASSERT_NE(GetEnvironmentVariableW(L"SystemRoot", systemRoot, MAX_PATH), 0u);
    const NewProcessEnvironment environment(sources);
    EXPECT_EQ(environment.variable(L"ZOVREL_CHECK_M"), std::wstring(systemRoot) + L"\\m");
}

}  // namespace
