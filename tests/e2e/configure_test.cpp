// The configure button as a user meets it: the real executable, a folder
// typed into its box, a click, the machine environment in the registry
// afterwards and the box that reports it.

#include "tests/e2e/AppDriver.h"
#include "tests/e2e/MachineEnvironmentFixture.h"
#include "tests/support/Registry.h"
#include "tests/support/StandInSwitch.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

using e2e::AppDriver;
using e2e::javaSuffix;
using e2e::MessageBoxContent;
using testsupport::StoredValue;
using testsupport::systemEnvironment;
namespace id = e2e::id;

namespace {

const std::wstring caption = L"信息：";
const std::wstring successText = L"配置Java环境成功！";
// The machine PATH these tests set before their click: Windows' own three folders.
const std::wstring windowsPathWithWbem = L"%SystemRoot%\\system32;%SystemRoot%;%SystemRoot%\\System32\\Wbem";

// A hidden top-level window of the test's own that notes the environment
// change broadcast. The test pumps its messages while it waits for the box.
class SettingChangeListener {
public:
    SettingChangeListener()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &SettingChangeListener::windowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
        window_.reset(CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      windowClass.hInstance, this));
    }

    bool ready() const { return static_cast<bool>(window_); }
    bool heardEnvironmentChange() const { return heard_; }

    static void pumpMessages()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }

private:
    static constexpr wchar_t className[] = L"ZovrelTestSettingChangeListener";

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        }
        auto* self = reinterpret_cast<SettingChangeListener*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_SETTINGCHANGE && self && lParam &&
            std::wstring(reinterpret_cast<const wchar_t*>(lParam)) == L"Environment") {
            self->heard_ = true;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    UniqueWindow window_;
    bool heard_ = false;
};

class ConfigureTest : public e2e::MachineEnvironmentTest {
protected:
    void SetUp() override
    {
        MachineEnvironmentTest::SetUp();
        ASSERT_TRUE(listener.ready());
        ASSERT_TRUE(app.ready()) << "the tool's window did not appear";
    }

    void setPath(const std::wstring& value)
    {
        ASSERT_EQ(testsupport::writeValue(systemEnvironment, L"PATH", StoredValue{REG_EXPAND_SZ, value}),
                  ERROR_SUCCESS);
    }

    struct MachineBefore {
        std::optional<StoredValue> javaHome;
        std::optional<StoredValue> jreHome;
    };
    MachineBefore machineBefore() const { return {machine(L"JAVA_HOME"), machine(L"JRE_HOME")}; }

    // After a click that had to write nothing: both variables as they were,
    // PATH as setPath left it, and no change announced.
    void expectNothingWrittenSince(const MachineBefore& before) const
    {
        EXPECT_EQ(machine(L"JAVA_HOME"), before.javaHome);
        EXPECT_EQ(machine(L"JRE_HOME"), before.jreHome);
        EXPECT_EQ(machine(L"PATH"), (StoredValue{REG_EXPAND_SZ, windowsPathWithWbem}));
        EXPECT_FALSE(listener.heardEnvironmentChange()) << "a change was announced though nothing was written";
    }

    // Types `folder` into the box, clicks the configure button and reads the
    // box that answers; checks on the way that the box is task-modal and
    // ownerless, then closes it with OK (No where it asks a question).
    MessageBoxContent configureWith(const std::wstring& folder)
    {
        EXPECT_TRUE(app.setText(id::folderEdit, folder));
        app.click(id::configureButton);
        HWND box = nullptr;
        e2e::waitUntil([&] {
            SettingChangeListener::pumpMessages();
            box = app.findMessageBox();
            return box != nullptr;
        });
        if (!box) {
            ADD_FAILURE() << "no message box after the click";
            return {};
        }
        SettingChangeListener::pumpMessages();
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box has no owner";
        EXPECT_FALSE(IsWindowEnabled(app.window())) << "the task-modal box disables the main window";
        const MessageBoxContent seen = e2e::readMessageBox(box);
        // A refused write offers a second try as administrator; No declines it.
        const bool hasOk = GetDlgItem(box, IDOK) != nullptr;
        e2e::pressDialogButton(box, hasOk ? IDOK : IDNO);
        EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(box); })) << "the button did not close the box";
        EXPECT_TRUE(e2e::waitUntil([&] { return IsWindowEnabled(app.window()) != FALSE; }));
        return seen;
    }

    SettingChangeListener listener;
    AppDriver app;
};

TEST_F(ConfigureTest, WritesTheVariablesAndReportsSuccess)
{
    setPath(windowsPathWithWbem);

    const MessageBoxContent box = configureWith(jdk.home());

    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, successText);
    EXPECT_FALSE(box.hasIcon);
    EXPECT_EQ(box.buttonIds, std::vector<int>{IDOK});
    EXPECT_EQ(machine(L"JAVA_HOME"), (StoredValue{REG_SZ, jdk.home()}));
    EXPECT_EQ(machine(L"JRE_HOME"), (StoredValue{REG_EXPAND_SZ, L"%JAVA_HOME%\\jre"}));
    EXPECT_EQ(machine(L"PATH"), (StoredValue{REG_EXPAND_SZ, windowsPathWithWbem + javaSuffix}));
    EXPECT_TRUE(listener.heardEnvironmentChange()) << "running programs were not told of the change";
}

TEST_F(ConfigureTest, WritesTheFolderTextByteForByte)
{
    setPath(windowsPathWithWbem);
    // Blanks and a trailing backslash are the user's to keep. No folder of
    // that name exists, so the folder check warns first; OK writes the text
    // as typed, and a new console finds no java.exe behind it.
    const std::wstring typed = L" " + jdk.home() + L"\\ ";
    ASSERT_TRUE(app.setText(id::folderEdit, typed));
    app.click(id::configureButton);
    HWND warning = app.waitForMessageBox();
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(e2e::readMessageBox(warning).buttonIds, (std::vector<int>{IDOK, IDCANCEL}));
    e2e::pressDialogButton(warning, IDOK);
    ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(warning); }));

    HWND result = nullptr;
    e2e::waitUntil([&] {
        SettingChangeListener::pumpMessages();
        return (result = app.findMessageBox()) != nullptr;
    });
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(e2e::readMessageBox(result).text,
              L"环境变量已写入，但新打开的命令行窗口找不到 java.exe：PATH 中没有一个文件夹含有它。");
    e2e::pressDialogButton(result, IDOK);

    EXPECT_EQ(machine(L"JAVA_HOME"), (StoredValue{REG_SZ, typed}));
}

TEST_F(ConfigureTest, SecondClickLeavesPathUnchanged)
{
    setPath(windowsPathWithWbem);
    ASSERT_EQ(configureWith(jdk.home()).text, successText);
    const std::optional<StoredValue> afterFirst = machine(L"PATH");

    EXPECT_EQ(configureWith(jdk.home()).text, successText);

    EXPECT_EQ(machine(L"PATH"), afterFirst);
    EXPECT_EQ(machine(L"PATH"), (StoredValue{REG_EXPAND_SZ, windowsPathWithWbem + javaSuffix}));
}

// --- Nothing may be written -------------------------------------------------

struct RefusalCase {
    const char* label;
    const wchar_t* standInSwitch;
    const wchar_t* namedCause;
    std::vector<int> buttons;  // a refused write offers to retry as administrator
};

std::ostream& operator<<(std::ostream& out, const RefusalCase& c)
{
    return out << c.label;
}

class ConfigureRefusedTest : public ConfigureTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ConfigureRefusedTest, ChangesNothingAndSaysWhy)
{
    setPath(windowsPathWithWbem);
    const MachineBefore before = machineBefore();
    const testsupport::StandInSwitch refusal(GetParam().standInSwitch);

    const MessageBoxContent box = configureWith(jdk.home());

    EXPECT_EQ(box.caption, caption);
    EXPECT_NE(box.text, successText);
    EXPECT_NE(box.text.find(L"未写入：JAVA_HOME、JRE_HOME、PATH"), std::wstring::npos);
    EXPECT_NE(box.text.find(GetParam().namedCause), std::wstring::npos) << "the cause is not named";
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(box.buttonIds, GetParam().buttons);
    expectNothingWrittenSince(before);
}

INSTANTIATE_TEST_SUITE_P(Table, ConfigureRefusedTest,
                         ::testing::Values(RefusalCase{"system writes refused", standin::refuseSystemWrites,
                                                       L"以管理员身份运行", {IDYES, IDNO}},
                                           RefusalCase{"shell object missing", standin::unavailable,
                                                       L"WScript.Shell", {IDOK}}));

struct InputCase {
    const char* label;
    const wchar_t* folder;
    const wchar_t* warning;
};

std::ostream& operator<<(std::ostream& out, const InputCase& c)
{
    return out << c.label;
}

class ConfigureInputTest : public ConfigureTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(ConfigureInputTest, WarnsAndWritesNothing)
{
    setPath(windowsPathWithWbem);
    const MachineBefore before = machineBefore();

    const MessageBoxContent box = configureWith(GetParam().folder);

    EXPECT_EQ(box.caption, caption);
    EXPECT_NE(box.text.find(GetParam().warning), std::wstring::npos) << "not the expected warning";
    EXPECT_TRUE(box.hasIcon);
    expectNothingWrittenSince(before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConfigureInputTest,
    ::testing::Values(InputCase{"empty box", L"", L"请先选择JDK的安装目录"},
                      InputCase{"blanks only", L"  \t ", L"请先选择JDK的安装目录"},
                      InputCase{"Hangul folder in code page 936", L"C:\\자바\\jdk", L"ANSI 代码页无法表示"}));

}  // namespace
