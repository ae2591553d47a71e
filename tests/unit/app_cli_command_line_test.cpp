// The command-line options and the quoting of the elevated instance's arguments.

#include "app/CommandLine.h"
#include "app/CommandOutput.h"
#include "tests/support/SplitCommandLine.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct ParseCase {
    const char* label;
    std::vector<std::wstring> arguments;
    CommandMode mode;
    const wchar_t* javaHome;
    bool force;
    bool quiet;
    const wchar_t* offending;
};

std::ostream& operator<<(std::ostream& out, const ParseCase& c)
{
    return out << c.label;
}

const ParseCase parseCases[] = {
    {"nothing: the window", {}, CommandMode::window, L"", false, false, L""},
    {"folder", {L"--java-home", L"C:\\jdk"}, CommandMode::configure, L"C:\\jdk", false, false, L""},
    {"folder forced and quiet",
     {L"--quiet", L"--java-home", L"D:\\Java 开发\\jdk\\", L"--force"},
     CommandMode::configure, L"D:\\Java 开发\\jdk\\", true, true, L""},
    {"empty folder is the input check's to refuse", {L"--java-home", L""}, CommandMode::configure, L"", false,
     false, L""},
    {"show", {L"--show"}, CommandMode::show, L"", false, false, L""},
    {"help", {L"--help"}, CommandMode::help, L"", false, false, L""},
    {"folder missing at the end", {L"--java-home"}, CommandMode::usageError, L"", false, false, L"--java-home"},
    {"folder missing before an option", {L"--java-home", L"--force"}, CommandMode::usageError, L"", false, false,
     L"--java-home"},
    {"folder given twice", {L"--java-home", L"C:\\a", L"--java-home", L"C:\\b"}, CommandMode::usageError, L"",
     false, false, L"--java-home"},
    {"unknown option", {L"--bogus"}, CommandMode::usageError, L"", false, false, L"--bogus"},
    {"unknown option after a good one", {L"--show", L"-x"}, CommandMode::usageError, L"", false, false, L"-x"},
    {"stray word", {L"C:\\jdk"}, CommandMode::usageError, L"", false, false, L"C:\\jdk"},
    {"options are case-sensitive", {L"--HELP"}, CommandMode::usageError, L"", false, false, L"--HELP"},
    {"force alone", {L"--force"}, CommandMode::usageError, L"", false, false, L"--force"},
    {"quiet with show", {L"--show", L"--quiet"}, CommandMode::usageError, L"", false, false, L"--quiet"},
    {"show and help together", {L"--show", L"--help"}, CommandMode::usageError, L"", false, false, L"--help"},
    {"show and a folder together", {L"--show", L"--java-home", L"C:\\jdk"}, CommandMode::usageError, L"", false,
     false, L"--java-home"},
};

class CommandLineParsing : public testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParsing, ReadsTheOptions)
{
    const ParseCase& c = GetParam();
    const CommandLineOptions options = parseCommandLine(c.arguments);
    EXPECT_EQ(options.mode, c.mode);
    EXPECT_EQ(options.javaHome, c.javaHome);
    EXPECT_EQ(options.force, c.force);
    EXPECT_EQ(options.quiet, c.quiet);
    EXPECT_EQ(options.offendingArgument, c.offending);
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLineParsing, testing::ValuesIn(parseCases));

// What CommandLineToArgvW makes of a command line, without the program name.
std::vector<std::wstring> splitArguments(const std::wstring& arguments)
{
    return testsupport::argumentsOf(L"zovrel-javaenv.exe " + arguments);
}

const wchar_t* const trickyFolders[] = {
    L"C:\\jdk",
    L"C:\\Program Files\\Java\\jdk1.8.0_202",
    L"D:\\软件\\Java 开发\\jdk 17\\",
    L"C:\\jdk\\\\",
    L"C:\\",
    L"\\\\server\\share\\jdk",
    L"C:\\odd \"quoted\" name",
    L"C:\\ends with quote\\\"",
    L"C:\\tab\there",
    L" leading and trailing blanks ",
    L"",
};

class UnattendedArguments : public testing::TestWithParam<const wchar_t*> {};

TEST_P(UnattendedArguments, SurviveTheSplitExactly)
{
    const std::wstring folder = GetParam();
    const std::vector<std::wstring> expected{L"--java-home", folder, L"--force", L"--quiet"};
    EXPECT_EQ(splitArguments(unattendedArguments(folder)), expected);
    EXPECT_EQ(parseCommandLine(splitArguments(unattendedArguments(folder))).javaHome, folder);
}

INSTANTIATE_TEST_SUITE_P(Folders, UnattendedArguments, testing::ValuesIn(trickyFolders));

TEST(QuotedArgument, DoublesOnlyTheBackslashesBeforeAQuote)
{
    EXPECT_EQ(quotedArgument(L"C:\\a b\\"), L"\"C:\\a b\\\\\"");
    EXPECT_EQ(quotedArgument(L"\\\\server\\x"), L"\"\\\\server\\x\"");
    EXPECT_EQ(quotedArgument(L"a\\\"b"), L"\"a\\\\\\\"b\"");
    EXPECT_EQ(unattendedArguments(L"C:\\jdk"), L"--java-home \"C:\\jdk\" --force --quiet");
}

TEST(RedirectedOutput, IsUtf8WithoutByteOrderMark)
{
    EXPECT_EQ(toUtf8(L"JAVA_HOME：C:\\软件"), "JAVA_HOME\xEF\xBC\x9A" "C:\\\xE8\xBD\xAF\xE4\xBB\xB6");
    EXPECT_EQ(toUtf8(L""), "");
}

}  // namespace
