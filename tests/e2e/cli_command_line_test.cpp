// The command-line mode as a deployment script meets it: the real executable
// started with arguments, its exit code, the lines it prints on a console or
// into a redirected file, its message box when there is no console, and the
// machine environment in the registry afterwards.

#include "tests/e2e/CliRun.h"
#include "tests/e2e/MachineEnvironmentFixture.h"
#include "tests/support/Registry.h"
#include "tests/support/StandInSwitch.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using e2e::javaSuffix;
using e2e::replaced;
using e2e::windowsPath;
using testsupport::StoredValue;
using testsupport::systemEnvironment;
using testsupport::userEnvironment;

namespace {

// The machine and user variables a run may touch, put back afterwards, and a
// JDK-shaped folder (bin\java.exe) whose name holds blanks and Chinese characters.
using CommandLineRun = e2e::MachineEnvironmentTest;

const std::wstring writtenLines = L"JAVA_HOME：已写入。\nJRE_HOME：已写入。\nPATH：已写入。\n";
const std::wstring javaHomeWins = L"新打开的命令行窗口会运行 {jdk}\\bin\\java.exe，即 JAVA_HOME 的 bin 文件夹中的 Java。";
const std::wstring refusedCause =
    L"系统拒绝修改系统环境变量：需要管理员权限。请关闭本工具，右键点击它并选择“以管理员身份运行”，再配置一次。";
const std::wstring usageFirstLine = L"用法：";

struct RunCase {
    const char* label;
    const wchar_t* arguments;
    const wchar_t* standInSwitch;  // nullptr: none
    bool removeMachinePath;
    DWORD exitCode;
    std::wstring outputStart;      // the output begins with this ("{jdk}" placed)
    bool writesJavaHome;
};

std::ostream& operator<<(std::ostream& out, const RunCase& c)
{
    return out << c.label;
}

const RunCase runCases[] = {
    {"help", L"--help", nullptr, false, 0, usageFirstLine, false},
    {"unknown option", L"--bogus", nullptr, false, 1, L"无法识别的参数或缺少参数值：--bogus\n" + usageFirstLine, false},
    {"missing folder value", L"--java-home", nullptr, false, 1, L"无法识别的参数或缺少参数值：--java-home\n", false},
    {"force without a folder", L"--force", nullptr, false, 1, L"无法识别的参数或缺少参数值：--force\n", false},
    {"empty folder", L"--java-home \"\"", nullptr, false, 1, L"请先选择JDK的安装目录", false},
    {"blank folder", L"--java-home \"   \"", nullptr, false, 1, L"请先选择JDK的安装目录", false},
    {"folder the ANSI code page cannot hold", L"--java-home \"C:\\자바\"", nullptr, false, 1,
     L"JDK目录的路径中含有本系统的 ANSI 代码页无法表示的字符", false},
    {"the JDK's bin folder", L"--java-home \"{jdk}\\bin\"", nullptr, false, 5,
     L"“{jdk}\\bin”是JDK的 bin 文件夹或其中的 java 程序，JDK的安装目录是“{jdk}”。\n"
     L"没有写入任何环境变量。如确实要配置该路径，请加上 --force。",
     false},
    {"a missing folder", L"--java-home \"{root}\\nothing\"", nullptr, false, 5, L"文件夹“{root}\\nothing”不存在。\n",
     false},
    {"a folder without bin\\java.exe", L"--java-home \"{root}\"", nullptr, false, 5,
     L"文件夹“{root}”中没有 bin\\java.exe，它不是JDK的安装目录。\n", false},
    {"a missing folder, forced", L"--java-home \"{root}\\nothing\" --force", nullptr, false, 0,
     writtenLines + L"新打开的命令行窗口找不到 java.exe：PATH 中没有一个文件夹含有它。", true},
    {"a JDK home", L"--java-home \"{jdk}\"", nullptr, false, 0, writtenLines + javaHomeWins, true},
    {"a JDK home, forced", L"--force --java-home \"{jdk}\"", nullptr, false, 0, writtenLines + javaHomeWins, true},
    {"system writes refused", L"--java-home \"{jdk}\"", standin::refuseSystemWrites, false, 2,
     L"JAVA_HOME：未写入。" + refusedCause + L"\nJRE_HOME：未写入。" + refusedCause, false},
    {"shell object unavailable", L"--java-home \"{jdk}\"", standin::unavailable, false, 3, L"JAVA_HOME：未写入。无法创建",
     false},
    // The folder check comes before the shell object is needed.
    {"folder check before the shell object", L"--java-home \"{jdk}\\bin\"", standin::unavailable, false, 5,
     L"“{jdk}\\bin”是JDK的 bin 文件夹", false},
    {"machine PATH missing: written in part", L"--java-home \"{jdk}\"", nullptr, true, 4,
     L"JAVA_HOME：已写入。\nJRE_HOME：已写入。\nPATH：未写入。系统变量 PATH 为空或不存在。", true},
    {"show", L"--show", nullptr, false, 0, L"系统 JAVA_HOME = （未设置）\n系统 JRE_HOME = （未设置）\n系统 PATH：\n"
     L"  %SystemRoot%\\system32\n  %SystemRoot%\n用户 JAVA_HOME = （未设置）", false},
    {"show without the shell object", L"--show", standin::unavailable, false, 3, L"无法创建", false},
};

class CommandLineForms : public CommandLineRun, public testing::WithParamInterface<RunCase> {};

TEST_P(CommandLineForms, ExitCodeOutputAndRegistry)
{
    const RunCase& c = GetParam();
    std::optional<testsupport::StandInSwitch> standInSwitch;
    if (c.standInSwitch) standInSwitch.emplace(c.standInSwitch);
    if (c.removeMachinePath) {
        ASSERT_EQ(testsupport::deleteValue(systemEnvironment, L"PATH"), ERROR_SUCCESS);
    }

    const e2e::CliResult result = e2e::runRedirected(placed(c.arguments));

    ASSERT_TRUE(result.exitCode.has_value()) << "the tool did not end";
    EXPECT_EQ(*result.exitCode, c.exitCode);
    const std::wstring expectedStart = placed(c.outputStart);
    EXPECT_EQ(result.output.substr(0, expectedStart.size()), expectedStart) << "whole output:\n" << result.rawBytes;
    if (c.writesJavaHome) {
        EXPECT_TRUE(machine(L"JAVA_HOME").has_value());
    } else if (!c.removeMachinePath) {
        EXPECT_TRUE(machineUnchanged());
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, CommandLineForms, testing::ValuesIn(runCases));

TEST_F(CommandLineRun, WritesWhatTheButtonWrites)
{
    const e2e::CliResult result = e2e::runRedirected(placed(L"--java-home \"{jdk}\""));
    ASSERT_EQ(result.exitCode, 0u);
    EXPECT_EQ(machine(L"JAVA_HOME"), (StoredValue{REG_SZ, jdk.home()}));
    EXPECT_EQ(machine(L"JRE_HOME"), (StoredValue{REG_EXPAND_SZ, L"%JAVA_HOME%\\jre"}));
    EXPECT_EQ(machine(L"PATH"), (StoredValue{REG_EXPAND_SZ, windowsPath + javaSuffix}));

    // A second run finds both entries and leaves PATH alone.
    const e2e::CliResult again = e2e::runRedirected(placed(L"--java-home \"{jdk}\""));
    ASSERT_EQ(again.exitCode, 0u);
    EXPECT_EQ(e2e::linesOf(again.output).at(2), L"PATH：已包含 %JAVA_HOME%\\bin 和 %JRE_HOME%\\bin，未修改。");
    EXPECT_EQ(machine(L"PATH"), (StoredValue{REG_EXPAND_SZ, windowsPath + javaSuffix}));
}

TEST_F(CommandLineRun, FolderWithBlanksChineseAndATrailingBackslashArrivesWhole)
{
    // CommandLineToArgvW rules: the backslash before the closing quote is doubled.
    const std::wstring typed = jdk.home() + L"\\";
    const e2e::CliResult result = e2e::runRedirected(L"--java-home \"" + jdk.home() + L"\\\\\"");
    ASSERT_EQ(result.exitCode, 0u) << result.rawBytes;
    EXPECT_EQ(machine(L"JAVA_HOME"), (StoredValue{REG_SZ, typed}));
}

TEST_F(CommandLineRun, RedirectedOutputIsUtf8WithCrLfAndNoByteOrderMark)
{
    const e2e::CliResult result = e2e::runRedirected(placed(L"--java-home \"{jdk}\""));
    ASSERT_EQ(result.exitCode, 0u);
    const std::string firstLine = "JAVA_HOME\xEF\xBC\x9A\xE5\xB7\xB2\xE5\x86\x99\xE5\x85\xA5\xE3\x80\x82\r\n";
    EXPECT_EQ(result.rawBytes.substr(0, firstLine.size()), firstLine);
    EXPECT_EQ(result.rawBytes.substr(result.rawBytes.size() - 2), "\r\n");
}

TEST_F(CommandLineRun, OnAConsoleTheLinesAppearThere)
{
    const e2e::CliResult result = e2e::runOnConsole(placed(L"--java-home \"{jdk}\""));
    ASSERT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output, placed(writtenLines + javaHomeWins));
}

TEST_F(CommandLineRun, WithoutAConsoleOneMessageBoxTellsTheSame)
{
    const e2e::BoxedResult result = e2e::runWithoutConsole(placed(L"--java-home \"{jdk}\""));
    ASSERT_TRUE(result.sawBox);
    EXPECT_EQ(result.caption, L"信息：");
    EXPECT_EQ(result.text, replaced(placed(writtenLines + javaHomeWins), L"\n", L"\r\n") + L"\r\n");
    EXPECT_EQ(result.exitCode, 0u);
}

TEST_F(CommandLineRun, FolderCheckRefusalWithoutAConsoleIsABoxToo)
{
    const e2e::BoxedResult result = e2e::runWithoutConsole(placed(L"--java-home \"{jdk}\\bin\""));
    ASSERT_TRUE(result.sawBox);
    EXPECT_NE(result.text.find(L"没有写入任何环境变量"), std::wstring::npos) << result.text.c_str();
    EXPECT_EQ(result.exitCode, 5u);
    EXPECT_TRUE(machineUnchanged());
}

// --quiet: nothing anywhere, only the exit code and the registry tell.
struct QuietCase {
    const char* label;
    const wchar_t* arguments;
    DWORD exitCode;
};

std::ostream& operator<<(std::ostream& out, const QuietCase& c)
{
    return out << c.label;
}

const QuietCase quietCases[] = {
    {"configured", L"--java-home \"{jdk}\" --quiet", 0},
    {"folder check refused", L"--quiet --java-home \"{jdk}\\bin\"", 5},
    {"blank folder", L"--java-home \" \" --quiet", 1},
};

class QuietRun : public CommandLineRun, public testing::WithParamInterface<QuietCase> {};

TEST_P(QuietRun, PrintsNothingRedirected)
{
    const e2e::CliResult result = e2e::runRedirected(placed(GetParam().arguments));
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    EXPECT_EQ(result.rawBytes, "");
}

TEST_P(QuietRun, PrintsNothingOnAConsole)
{
    const e2e::CliResult result = e2e::runOnConsole(placed(GetParam().arguments));
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    EXPECT_EQ(result.output, L"");
}

TEST_P(QuietRun, ShowsNoBoxWithoutAConsole)
{
    const e2e::BoxedResult result = e2e::runWithoutConsole(placed(GetParam().arguments));
    EXPECT_FALSE(result.sawBox) << result.text.c_str();
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(Quiet, QuietRun, testing::ValuesIn(quietCases));

// What a new console would run, as the configure run reports it.
TEST_F(CommandLineRun, NamesAnEarlierMachinePathEntryThatWins)
{
    const testsupport::TempFolder shim(L"zovrel javapath");
    ASSERT_TRUE(shim.writeFile(L"java.exe"));
    ASSERT_EQ(writeValue(systemEnvironment, L"PATH", StoredValue{REG_EXPAND_SZ, shim.path() + L";" + windowsPath}),
              ERROR_SUCCESS);

    const e2e::CliResult result = e2e::runRedirected(placed(L"--java-home \"{jdk}\""));
    ASSERT_EQ(result.exitCode, 0u);
    EXPECT_EQ(e2e::linesOf(result.output).back(),
              L"新打开的命令行窗口会运行 " + shim.path() +
                  L"\\java.exe：PATH 中的这个文件夹排在 %JAVA_HOME%\\bin 之前，请把它从系统变量 PATH 中删除或移到后面。");
}

TEST_F(CommandLineRun, NamesAUserJavaHomeThatWins)
{
    const testsupport::JdkFolder other(L"other jdk");
    ASSERT_EQ(writeValue(userEnvironment, L"JAVA_HOME", StoredValue{REG_SZ, other.home()}), ERROR_SUCCESS);

    const e2e::CliResult result = e2e::runRedirected(placed(L"--java-home \"{jdk}\""));
    ASSERT_EQ(result.exitCode, 0u);
    EXPECT_EQ(e2e::linesOf(result.output).back(),
              L"新打开的命令行窗口会使用 " + other.home() +
                  L"\\bin 中的 Java：用户环境变量 JAVA_HOME 指向别处，它优先于系统变量，请删除这个用户变量。");
}

TEST_F(CommandLineRun, ShowListsBothScopesAndTheWinner)
{
    ASSERT_EQ(e2e::runRedirected(placed(L"--java-home \"{jdk}\" --quiet")).exitCode, 0u);
    ASSERT_EQ(writeValue(userEnvironment, L"PATH", StoredValue{REG_SZ, L"C:\\user tools"}), ERROR_SUCCESS);

    const e2e::CliResult result = e2e::runRedirected(L"--show");
    ASSERT_EQ(result.exitCode, 0u);
    const std::wstring expected = placed(
        L"系统 JAVA_HOME = {jdk}\n系统 JRE_HOME = %JAVA_HOME%\\jre\n系统 PATH：\n  %SystemRoot%\\system32\n"
        L"  %SystemRoot%\n  %JAVA_HOME%\\bin\n  %JRE_HOME%\\bin\n用户 JAVA_HOME = （未设置）\n"
        L"用户 JRE_HOME = （未设置）\n用户 PATH：\n  C:\\user tools\n" + javaHomeWins);
    EXPECT_EQ(result.output, expected);
}

}  // namespace
