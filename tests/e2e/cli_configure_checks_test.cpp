// The configure button with the checks around its writes: the folder check
// before (a question or a warning), the console check after (which java.exe
// a new console runs), and the offer to retry as administrator when the
// machine scope refused.

#include "tests/e2e/AppDriver.h"
#include "tests/e2e/CliRun.h"
#include "tests/e2e/DebuggedTool.h"
#include "tests/e2e/MachineEnvironmentFixture.h"
#include "tests/support/SplitCommandLine.h"
#include "tests/support/Registry.h"
#include "tests/support/StandInSwitch.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

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
namespace id = e2e::id;

namespace {

const std::wstring successText = L"配置Java环境成功！";

// Waits until the GUI thread of `window` is back in a message loop, so that a
// box the click would show next already exists.
void settle(HWND window)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, e2e::defaultWaitMs, &ignored);
}

// The environment a click may change in a known state, and the tool's window.
class ButtonConfigure : public e2e::MachineEnvironmentTest {
protected:
    void SetUp() override
    {
        MachineEnvironmentTest::SetUp();
        ASSERT_TRUE(app.ready());
    }

    // The box that answers, read and closed with `button`. With `expected`
    // false, only a box already there once the click has ended counts (a
    // click that writes broadcasts the change and answers messages meanwhile,
    // so a box that is expected is waited for instead).
    std::optional<e2e::MessageBoxContent> answerBox(int button, bool expected = true)
    {
        HWND box = nullptr;
        if (expected) {
            box = app.waitForMessageBox();
        } else {
            settle(app.window());
            box = app.findMessageBox();
        }
        if (!box) return std::nullopt;
        e2e::MessageBoxContent content = e2e::readMessageBox(box);
        e2e::pressDialogButton(box, button);
        EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(box); }));
        return content;
    }

    void click(const std::wstring& folder)
    {
        ASSERT_TRUE(app.setText(id::folderEdit, folder));
        app.click(id::configureButton);
        ASSERT_NE(app.waitForMessageBox(), nullptr) << "no box after the click";
    }

    e2e::AppDriver app;
};

// --- The folder check ------------------------------------------------------------

struct FolderCase {
    const char* label;
    const wchar_t* typed;           // "{jdk}", "{root}" placed
    const wchar_t* question;        // the first box's text; nullptr: no question
    std::vector<int> buttons;
    int answer;
    const wchar_t* javaHome;        // written afterwards; nullptr: nothing written
    const wchar_t* editBoxAfter;
};

std::ostream& operator<<(std::ostream& out, const FolderCase& c)
{
    return out << c.label;
}

const wchar_t proposal[] =
    L"“{jdk}{picked}”不是JDK的安装目录，而是JDK的 bin 文件夹或其中的 java 程序。\n\n"
    L"要改为配置JDK的安装目录“{jdk}”吗？\n\n"
    L"是：改用该目录；否：仍按输入的路径配置；取消：不写入任何环境变量。";
const wchar_t warningChoice[] = L"\n\n确定：仍按输入的路径配置；取消：不写入任何环境变量。";

const FolderCase folderCases[] = {
    {"bin folder, Yes writes the home", L"{jdk}\\bin", proposal, {IDYES, IDNO, IDCANCEL}, IDYES, L"{jdk}", L"{jdk}"},
    {"java.exe, Yes writes the home", L"{jdk}\\bin\\java.exe", proposal, {IDYES, IDNO, IDCANCEL}, IDYES, L"{jdk}",
     L"{jdk}"},
    {"bin folder, No writes it as typed", L"{jdk}\\bin", proposal, {IDYES, IDNO, IDCANCEL}, IDNO, L"{jdk}\\bin",
     L"{jdk}\\bin"},
    {"bin folder, Cancel writes nothing", L"{jdk}\\bin", proposal, {IDYES, IDNO, IDCANCEL}, IDCANCEL, nullptr,
     L"{jdk}\\bin"},
    {"missing folder, OK writes it", L"{root}\\nothing", L"文件夹“{root}\\nothing”不存在。", {IDOK, IDCANCEL}, IDOK,
     L"{root}\\nothing", L"{root}\\nothing"},
    {"missing folder, Cancel writes nothing", L"{root}\\nothing", L"文件夹“{root}\\nothing”不存在。",
     {IDOK, IDCANCEL}, IDCANCEL, nullptr, L"{root}\\nothing"},
    {"folder without bin\\java.exe, Cancel", L"{root}", L"文件夹“{root}”中没有 bin\\java.exe，它不是JDK的安装目录。",
     {IDOK, IDCANCEL}, IDCANCEL, nullptr, L"{root}"},
};

class FolderCheck : public ButtonConfigure, public testing::WithParamInterface<FolderCase> {};

TEST_P(FolderCheck, AsksOrWarnsBeforeWriting)
{
    const FolderCase& c = GetParam();
    const std::wstring typed = placed(c.typed);
    click(typed);

    const std::optional<e2e::MessageBoxContent> first = answerBox(c.answer);
    ASSERT_TRUE(first.has_value());
    std::wstring expected = placed(c.question);
    expected = replaced(expected, L"{picked}", typed.substr(jdk.home().size() <= typed.size() ? jdk.home().size() : 0));
    if (c.buttons.size() == 2) expected += warningChoice;
    EXPECT_EQ(first->caption, L"信息：");
    EXPECT_EQ(first->text, expected);
    EXPECT_EQ(first->buttonIds, c.buttons);
    EXPECT_TRUE(first->hasIcon);

    // Written or not, the click ends with at most one more box.
    const std::optional<e2e::MessageBoxContent> result = answerBox(IDOK, c.javaHome != nullptr);
    EXPECT_EQ(result.has_value(), c.javaHome != nullptr);
    if (c.javaHome) {
        EXPECT_EQ(machine(L"JAVA_HOME"), (StoredValue{REG_SZ, placed(c.javaHome)}));
    } else {
        EXPECT_TRUE(machineUnchanged());
    }
    EXPECT_EQ(app.text(id::folderEdit), placed(c.editBoxAfter));
}

INSTANTIATE_TEST_SUITE_P(Folders, FolderCheck, testing::ValuesIn(folderCases));

TEST_F(ButtonConfigure, JdkHomePassesWithNoQuestion)
{
    click(jdk.home());
    const std::optional<e2e::MessageBoxContent> box = answerBox(IDOK);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, successText);
    EXPECT_FALSE(answerBox(IDOK, false).has_value()) << "one click, one box";
}

// --- The console check -------------------------------------------------------------

TEST_F(ButtonConfigure, NamesAnEarlierMachinePathEntryThatWins)
{
    const testsupport::TempFolder shim(L"zovrel javapath");
    ASSERT_TRUE(shim.writeFile(L"java.exe"));
    const std::wstring oldPath = shim.path() + L";" + windowsPath;
    ASSERT_EQ(writeValue(systemEnvironment, L"PATH", StoredValue{REG_EXPAND_SZ, oldPath}), ERROR_SUCCESS);

    click(jdk.home());
    const std::optional<e2e::MessageBoxContent> box = answerBox(IDOK);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"环境变量已写入，但新打开的命令行窗口会运行 " + shim.path() +
                             L"\\java.exe：PATH 中的这个文件夹排在 %JAVA_HOME%\\bin 之前，请把它从系统变量 PATH 中删除或移到后面。");
    EXPECT_EQ(machine(L"PATH"), (StoredValue{REG_EXPAND_SZ, oldPath + javaSuffix}));
}

TEST_F(ButtonConfigure, NamesAUserJavaHomeThatWins)
{
    const testsupport::JdkFolder other(L"other jdk");
    ASSERT_EQ(writeValue(userEnvironment, L"JAVA_HOME", StoredValue{REG_SZ, other.home()}), ERROR_SUCCESS);

    click(jdk.home());
    const std::optional<e2e::MessageBoxContent> box = answerBox(IDOK);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"环境变量已写入，但新打开的命令行窗口会使用 " + other.home() +
                             L"\\bin 中的 Java：用户环境变量 JAVA_HOME 指向别处，它优先于系统变量，请删除这个用户变量。");
    EXPECT_EQ(machine(L"JAVA_HOME"), (StoredValue{REG_SZ, jdk.home()}));
}

// --- Retrying as administrator -------------------------------------------------------

class Elevation : public e2e::MachineEnvironmentTest {
protected:
    void SetUp() override
    {
        MachineEnvironmentTest::SetUp();
        window = tool.waitForMainWindow();
        ASSERT_NE(window, nullptr);
    }

    HWND findBox() const
    {
        settle(window);
        return e2e::findMessageBoxOf(tool.processId());
    }

    // Types `folder`, clicks, and returns the failure box with its offer.
    HWND refusedBox(const std::wstring& folder)
    {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(GetDlgItem(window, id::folderEdit), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(folder.c_str()), SMTO_NORMAL, e2e::defaultWaitMs, &ignored);
        PostMessageW(GetDlgItem(window, id::configureButton), BM_CLICK, 0, 0);
        HWND box = nullptr;
        e2e::waitUntil([&] { return (box = e2e::findMessageBoxOf(tool.processId())) != nullptr; });
        return box;
    }

    // The box that follows `button` on `box`, read and closed. While the
    // elevated instance runs, the window keeps answering messages, so Yes
    // waits for the box itself; after No the click has ended once the window
    // answers.
    std::optional<e2e::MessageBoxContent> after(HWND box, int button)
    {
        e2e::pressDialogButton(box, button);
        e2e::waitUntil([&] { return !IsWindow(box); });
        HWND next = nullptr;
        if (button == IDYES) {
            e2e::waitUntil([&] { return (next = e2e::findMessageBoxOf(tool.processId())) != nullptr; }, 60000);
        } else {
            next = findBox();
        }
        if (!next) return std::nullopt;
        e2e::MessageBoxContent content = e2e::readMessageBox(next);
        e2e::pressDialogButton(next, IDOK);
        return content;
    }

    e2e::DebuggedTool tool;
    HWND window = nullptr;
};

TEST_F(Elevation, FailureBoxOffersIt)
{
    const testsupport::StandInSwitch refusal(standin::refuseSystemWrites);
    HWND box = refusedBox(jdk.home());
    ASSERT_NE(box, nullptr);
    const e2e::MessageBoxContent content = e2e::readMessageBox(box);
    EXPECT_EQ(content.buttonIds, (std::vector<int>{IDYES, IDNO}));
    const std::wstring question = L"\n\n要以管理员身份再试一次吗？";
    ASSERT_GE(content.text.size(), question.size());
    EXPECT_EQ(content.text.substr(content.text.size() - question.size()), question);
    e2e::pressDialogButton(box, IDNO);
}

TEST_F(Elevation, NoLeavesEverythingAsItWas)
{
    const testsupport::StandInSwitch refusal(standin::refuseSystemWrites);
    HWND box = refusedBox(jdk.home());
    ASSERT_NE(box, nullptr);

    EXPECT_FALSE(after(box, IDNO).has_value()) << "No must end the click";
    EXPECT_TRUE(tool.childCommandLines().empty()) << "No started another instance";
    EXPECT_TRUE(machineUnchanged());
}

TEST_F(Elevation, YesRunsOurselvesWithTheFolderQuotedForcedAndQuiet)
{
    // Blanks, Chinese characters and a trailing backslash must survive the trip.
    const std::wstring folder = jdk.home() + L"\\";
    std::optional<testsupport::StandInSwitch> refusal(standin::refuseSystemWrites);
    HWND box = refusedBox(folder);
    ASSERT_NE(box, nullptr);
    // The administrator's instance may write.
    refusal.reset();

    const std::optional<e2e::MessageBoxContent> result = after(box, IDYES);

    const std::vector<std::wstring> started = tool.childCommandLines();
    ASSERT_EQ(started.size(), 1u);
    const std::wstring expectedTail = L" --java-home \"" + jdk.home() + L"\\\\\" --force --quiet";
    ASSERT_GE(started[0].size(), expectedTail.size());
    EXPECT_EQ(started[0].substr(started[0].size() - expectedTail.size()), expectedTail) << started[0].c_str();
    EXPECT_EQ(testsupport::argumentsOf(started[0]), (std::vector<std::wstring>{L"--java-home", folder, L"--force", L"--quiet"}));
    EXPECT_EQ(tool.childExitCode(0), 0u);

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->text, successText);
    EXPECT_EQ(machine(L"JAVA_HOME"), (StoredValue{REG_SZ, folder}));
    EXPECT_EQ(machine(L"PATH"), (StoredValue{REG_EXPAND_SZ, windowsPath + javaSuffix}));
}

TEST_F(Elevation, YesStillRefusedSaysSoFromTheExitCode)
{
    const testsupport::StandInSwitch refusal(standin::refuseSystemWrites);
    HWND box = refusedBox(jdk.home());
    ASSERT_NE(box, nullptr);

    const std::optional<e2e::MessageBoxContent> result = after(box, IDYES);

    ASSERT_EQ(tool.childCommandLines().size(), 1u);
    EXPECT_EQ(tool.childExitCode(0), 2u);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->text, L"以管理员身份运行后，系统仍然拒绝写入环境变量。");
    EXPECT_TRUE(machineUnchanged());
}

}  // namespace
