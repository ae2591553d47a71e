// The folder button: the shell's folder dialog over the window, and what
// reaches the edit box when the user picks something or changes their mind.

#include "tests/e2e/AppDriver.h"
#include "tests/e2e/FolderDialog.h"
#include "tests/support/ParamPrint.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using e2e::AppDriver;
using e2e::FolderDialog;
namespace id = e2e::id;

namespace {

constexpr wchar_t typedPath[] = L"D:\\typed by hand 测试";

class BrowseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(app.ready()) << "the tool's window did not appear";
        ASSERT_FALSE(folders.path().empty());
    }

    // Clicks the folder button and waits for the dialog.
    FolderDialog open() const
    {
        app.click(id::browseButton);
        return FolderDialog(app);
    }

    // Picks the item of `path` (located from its drive down) and presses OK.
    void choose(const std::wstring& path) const
    {
        const FolderDialog dialog = open();
        ASSERT_TRUE(dialog.found()) << "no folder dialog";
        const HTREEITEM item = dialog.locate(path);
        ASSERT_NE(item, nullptr) << "no tree item for " << testing::PrintToString(path);
        ASSERT_TRUE(dialog.select(item));
        ASSERT_TRUE(dialog.accept());
    }

    bool boxShows(const std::wstring& text) const
    {
        return e2e::waitUntil([&] { return app.text(id::folderEdit) == text; });
    }

    AppDriver app;
    testsupport::TempFolder folders{L"zovrel browse"};
};

// The old-style dialog (no BIF_NEWDIALOGSTYLE): the title above the tree, no
// status line (no BIF_STATUSTEXT), OK and Cancel and no "new folder" button.
// Wine's old-style dialog has no name field for BIF_EDITBOX at all, so that
// field cannot be checked here; files in the tree (BIF_BROWSEINCLUDEFILES)
// are checked by picking one below.
TEST_F(BrowseTest, DialogShowsItsTitleOverTheTreeAndDisablesTheWindow)
{
    const FolderDialog dialog = open();
    ASSERT_TRUE(dialog.found());

    std::vector<std::wstring> labels;
    for (HWND label : dialog.visibleChildren(L"Static")) labels.push_back(e2e::windowText(label));
    EXPECT_EQ(labels, std::vector<std::wstring>{L"请选择目录："});
    std::vector<int> buttons;
    for (HWND button : dialog.visibleChildren(L"Button")) buttons.push_back(GetDlgCtrlID(button));
    EXPECT_EQ(buttons, (std::vector<int>{IDOK, IDCANCEL}));

    EXPECT_EQ(GetWindow(dialog.handle(), GW_OWNER), app.window());
    EXPECT_FALSE(IsWindowEnabled(app.window())) << "the window takes input while the dialog is up";
    EXPECT_TRUE(dialog.cancel());
}

struct ChangeOfMind {
    const char* name;
    void (*leave)(const FolderDialog& dialog);
};

// The way out is code; its name says what it does.
void PrintTo(const ChangeOfMind& c, std::ostream* out)
{
    *out << c.name;
}

class ChangeOfMindTest : public BrowseTest, public ::testing::WithParamInterface<ChangeOfMind> {};

// Cancel means "no change": what the user typed stays in the box.
TEST_P(ChangeOfMindTest, LeavesTheBoxAsItWas)
{
    ASSERT_TRUE(app.setText(id::folderEdit, typedPath));
    const FolderDialog dialog = open();
    ASSERT_TRUE(dialog.found());
    GetParam().leave(dialog);
    ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(dialog.handle()); })) << "the dialog stayed open";
    ASSERT_TRUE(e2e::waitUntil([&] { return IsWindowEnabled(app.window()) != FALSE; }));
    EXPECT_EQ(app.text(id::folderEdit), typedPath);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ChangeOfMindTest,
    ::testing::Values(ChangeOfMind{"Cancel", [](const FolderDialog& dialog) { dialog.cancel(); }},
                      ChangeOfMind{"CloseBox",
                                   [](const FolderDialog& dialog) {
                                       PostMessageW(dialog.handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                                   }},
                      // The computer has no file-system path.
                      ChangeOfMind{"VirtualItem",
                                   [](const FolderDialog& dialog) {
                                       dialog.select(dialog.computerItem());
                                       dialog.accept();
                                   }}),
    [](const auto& test) { return std::string(test.param.name); });

struct Pick {
    const char* name;
    const wchar_t* folder;  // made under the test's folder; nullptr: the drive C: itself
    const wchar_t* file;    // a file inside `folder` to pick instead, or nullptr
};

void PrintTo(const Pick& c, std::ostream* out)
{
    if (!c.folder) {
        *out << "the drive C: itself";
        return;
    }
    *out << "folder " << testsupport::brief(c.folder);
    if (c.file) *out << ", file " << testsupport::brief(c.file);
}

class PickTest : public BrowseTest, public ::testing::WithParamInterface<Pick> {
protected:
    // The path to pick, made on disk first.
    std::wstring target() const
    {
        if (!GetParam().folder) return L"C:\\";
        const std::wstring folder = folders.makeFolder(GetParam().folder);
        if (folder.empty() || !GetParam().file) return folder;
        const std::wstring relative = std::wstring(GetParam().folder) + L"\\" + GetParam().file;
        return folders.writeFile(relative) ? folder + L"\\" + GetParam().file : std::wstring();
    }
};

// The path arrives exactly as the shell gives it: no trailing backslash
// except on a drive root, every character intact.
TEST_P(PickTest, PutsTheExactPathIntoTheBox)
{
    ASSERT_TRUE(app.setText(id::folderEdit, typedPath));
    const std::wstring path = target();
    ASSERT_FALSE(path.empty());
    choose(path);
    EXPECT_TRUE(boxShows(path)) << "box shows " << testing::PrintToString(app.text(id::folderEdit));
}

INSTANTIATE_TEST_SUITE_P(Items, PickTest,
                         ::testing::Values(Pick{"Folder", L"jdk1.8.0_202", nullptr},
                                           Pick{"ChineseFolder", L"Java 开发包 乗俓", nullptr},
                                           // Characters that code page 936 cannot hold: an
                                           // ANSI path would bring '?' instead.
                                           Pick{"NameOutsideCodePage", L"jdk 한글 ø", nullptr},
                                           Pick{"File", L"jdk-17", L"release"},
                                           Pick{"DriveRoot", nullptr, nullptr}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(BrowseTest, WindowIsEnabledAndActiveAfterwardsAndTakesKeys)
{
    const std::wstring folder = folders.makeFolder(L"jdk");
    ASSERT_FALSE(folder.empty());
    choose(folder);
    ASSERT_TRUE(boxShows(folder));

    EXPECT_TRUE(IsWindowEnabled(app.window()));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(app.threadId(), &info));
    EXPECT_EQ(info.hwndActive, app.window());

    // The folder button took the focus with the click and has it back; Tab
    // still walks on from there, round to the configure button.
    ASSERT_TRUE(e2e::waitUntil([&] { return app.focusedControlId() == id::browseButton; }))
        << "focused " << app.focusedControlId();
    ASSERT_TRUE(app.press({VK_TAB}));
    EXPECT_TRUE(e2e::waitUntil([&] { return app.focusedControlId() == id::configureButton; }));
}

TEST_F(BrowseTest, SecondBrowseStartsAtTheDesktopAndReplacesTheBoxText)
{
    const std::wstring first = folders.makeFolder(L"jdk first");
    const std::wstring second = folders.makeFolder(L"jdk second");
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    choose(first);
    ASSERT_TRUE(boxShows(first));

    {
        const FolderDialog dialog = open();
        ASSERT_TRUE(dialog.found());
        // Nothing below the desktop is selected or opened: the dialog has no
        // memory of the folder chosen before.
        const HTREEITEM selected = dialog.selection();
        EXPECT_TRUE(selected == nullptr || selected == dialog.root())
            << "selected: " << testing::PrintToString(dialog.itemText(selected));
        for (HTREEITEM child : dialog.children(dialog.root())) {
            EXPECT_FALSE(dialog.isExpanded(child)) << testing::PrintToString(dialog.itemText(child)) << " is open";
        }
        EXPECT_TRUE(dialog.cancel());
    }
    choose(second);
    EXPECT_TRUE(boxShows(second)) << "box shows " << testing::PrintToString(app.text(id::folderEdit));
}

}  // namespace
