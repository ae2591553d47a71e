// The main window as a user meets it: where it is, what it shows, how the
// keyboard moves through it and how it ends.

#include "tests/e2e/AppDriver.h"
#include "tests/support/ParamPrint.h"
#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using e2e::AppDriver;
using e2e::KeyStroke;
namespace id = e2e::id;

namespace {

constexpr int windowWidth = 368;
constexpr int windowHeight = 162;

RECT clientRectOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A click that opens a box may write the machine environment; whatever it
// does, the test prefix keeps the values it had.
struct SavedMachineEnvironment {
    testsupport::SavedVariable javaHome{testsupport::systemEnvironment, L"JAVA_HOME"};
    testsupport::SavedVariable jreHome{testsupport::systemEnvironment, L"JRE_HOME"};
    testsupport::SavedVariable path{testsupport::systemEnvironment, L"PATH"};
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.ready()) << "the tool's window did not appear"; }

    bool focusReaches(int controlId) const
    {
        return e2e::waitUntil([&] { return app.focusedControlId() == controlId; });
    }

    // Tab from the first control until `controlId` has the focus.
    void focusByTab(int controlId) const
    {
        ASSERT_TRUE(focusReaches(id::configureButton));
        while (app.focusedControlId() != controlId) {
            const int before = app.focusedControlId();
            ASSERT_TRUE(app.press({VK_TAB}));
            ASSERT_TRUE(e2e::waitUntil([&] { return app.focusedControlId() != before; }));
        }
    }

    SavedMachineEnvironment environment;
    AppDriver app;
};

// --- Frame ----------------------------------------------------------------

TEST_F(MainWindowTest, IsCentredWithTheOuterSizeOfTheDescription)
{
    RECT frame{};
    ASSERT_TRUE(GetWindowRect(app.window(), &frame));
    EXPECT_EQ(frame.right - frame.left, windowWidth);
    EXPECT_EQ(frame.bottom - frame.top, windowHeight);

    // The test prefix's virtual desktop is 1024 x 768: (1024 - 368) / 2, (768 - 162) / 2.
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    EXPECT_EQ(frame.left, 328);
    EXPECT_EQ(frame.top, 303);
}

TEST_F(MainWindowTest, HasAFixedFrameWithMinimiseButtonOnly)
{
    const LONG style = GetWindowLongW(app.window(), GWL_STYLE);
    const LONG required = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_VISIBLE;
    EXPECT_EQ(style & required, required);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_POPUP | WS_CHILD | WS_DISABLED), 0);

    // Windows itself adds WS_EX_WINDOWEDGE to every captioned window.
    EXPECT_EQ(GetWindowLongW(app.window(), GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetWindow(app.window(), GW_OWNER), nullptr);
    EXPECT_EQ(GetAncestor(app.window(), GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetMenu(app.window()), nullptr);
    EXPECT_FALSE(GetWindowLongW(app.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// The caption shows the window's small icon: the orange badge of the
// application icon, left of the title.
TEST_F(MainWindowTest, ShowsTheApplicationIconInTheCaption)
{
    RECT frame{};
    GetWindowRect(app.window(), &frame);
    POINT clientOrigin{0, 0};
    ClientToScreen(app.window(), &clientOrigin);
    const RECT caption{clientOrigin.x, frame.top, clientOrigin.x + 24, clientOrigin.y};
    const e2e::ClientImage image = e2e::captureScreen(caption);
    ASSERT_GT(image.width, 0);

    int orange = 0;
    for (COLORREF pixel : image.pixels) {
        if (GetRValue(pixel) >= 200 && GetGValue(pixel) >= 70 && GetGValue(pixel) <= 170 && GetBValue(pixel) <= 60) {
            ++orange;
        }
    }
    EXPECT_GE(orange, 30) << "no icon left of the title";
}

// Hit tests decide what a mouse press does: the frame must not offer sizing,
// and only the caption may drag the window.
TEST_F(MainWindowTest, FrameOffersNoSizingAndOnlyTheCaptionDrags)
{
    RECT frame{};
    GetWindowRect(app.window(), &frame);
    RECT client{};
    GetClientRect(app.window(), &client);
    POINT clientCentre{client.right / 2, client.bottom - 2};
    ClientToScreen(app.window(), &clientCentre);

    struct Probe {
        const char* where;
        POINT point;
    };
    const Probe probes[] = {
        {"left edge", {frame.left, (frame.top + frame.bottom) / 2}},
        {"right edge", {frame.right - 1, (frame.top + frame.bottom) / 2}},
        {"bottom edge", {(frame.left + frame.right) / 2, frame.bottom - 1}},
        {"bottom right corner", {frame.right - 1, frame.bottom - 1}},
        {"client area", clientCentre},
    };
    const LRESULT sizingAreas[] = {HTLEFT,  HTRIGHT,   HTTOP,         HTBOTTOM,
                                   HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT, HTBOTTOMRIGHT};
    for (const Probe& probe : probes) {
        DWORD_PTR hit = 0;
        ASSERT_TRUE(SendMessageTimeoutW(app.window(), WM_NCHITTEST, 0, MAKELPARAM(probe.point.x, probe.point.y),
                                        SMTO_ABORTIFHUNG, 5000, &hit));
        for (LRESULT sizing : sizingAreas) EXPECT_NE(static_cast<LRESULT>(hit), sizing) << probe.where;
        EXPECT_NE(static_cast<LRESULT>(hit), HTCAPTION) << probe.where;
    }
}

// Neither the caption's double-click nor the maximise button maximises the
// window. The Tab afterwards proves that the clicks have been processed.
struct MaximiseAttempt {
    const char* name;
    LRESULT hitArea;  // where on the frame to click
    int clicks;
};

void PrintTo(const MaximiseAttempt& c, std::ostream* out)
{
    *out << c.clicks << " clicks at hit-test area " << c.hitArea;
}

class MaximiseTest : public MainWindowTest, public ::testing::WithParamInterface<MaximiseAttempt> {
protected:
    // A point of the caption row whose hit test gives `area`.
    std::optional<POINT> captionPoint(LRESULT area) const
    {
        RECT frame{};
        GetWindowRect(app.window(), &frame);
        POINT clientOrigin{0, 0};
        ClientToScreen(app.window(), &clientOrigin);
        const LONG y = (frame.top + clientOrigin.y) / 2;
        for (LONG x = frame.right - 1; x > frame.left; --x) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutW(app.window(), WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 5000, &hit);
            if (static_cast<LRESULT>(hit) == area) return POINT{x - 3, y};
        }
        return std::nullopt;
    }
};

TEST_P(MaximiseTest, LeavesTheWindowAtItsSize)
{
    ASSERT_TRUE(focusReaches(id::configureButton));
    const auto point = captionPoint(GetParam().hitArea);
    ASSERT_TRUE(point.has_value()) << "no such area on the caption";

    ASSERT_TRUE(app.clickMouse(*point, GetParam().clicks));
    ASSERT_TRUE(app.press({VK_TAB}));
    ASSERT_TRUE(focusReaches(id::folderEdit));

    EXPECT_FALSE(IsZoomed(app.window()));
    RECT frame{};
    GetWindowRect(app.window(), &frame);
    EXPECT_EQ(frame.right - frame.left, windowWidth);
    EXPECT_EQ(frame.bottom - frame.top, windowHeight);
}

INSTANTIATE_TEST_SUITE_P(Ways, MaximiseTest,
                         ::testing::Values(MaximiseAttempt{"CaptionDoubleClick", HTCAPTION, 2},
                                           MaximiseAttempt{"MaximiseButton", HTMAXBUTTON, 1}),
                         [](const auto& test) { return std::string(test.param.name); });

// --- Controls -------------------------------------------------------------

struct ExpectedControl {
    int id;
    const wchar_t* windowClass;  // compared without regard to case
    RECT rect;                   // in the main window's client coordinates
    const wchar_t* text;
    LONG requiredStyle;
    LONG forbiddenStyle;
    LONG exStyle;
};

constexpr LONG childStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE;
constexpr LONG buttonStyle = childStyle | BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_TABSTOP;

const ExpectedControl expectedControls[] = {
    {id::configureButton, L"Button", {16, 63, 344, 103}, L"一键配置java环境", buttonStyle,
     WS_DISABLED | BS_DEFPUSHBUTTON | BS_BITMAP | BS_ICON, 0},
    {id::folderEdit, L"Edit", {16, 17, 264, 49}, L"", childStyle | ES_AUTOHSCROLL | WS_TABSTOP,
     WS_DISABLED | WS_BORDER | ES_READONLY | ES_PASSWORD | ES_UPPERCASE | ES_LOWERCASE | ES_NOHIDESEL | ES_MULTILINE,
     WS_EX_CLIENTEDGE},
    {id::browseButton, L"Button", {269, 17, 344, 49}, L"打开文件夹", buttonStyle,
     WS_DISABLED | BS_DEFPUSHBUTTON | BS_BITMAP | BS_ICON, 0},
    {id::noticeLabel, L"ZovrelNoticeLabel", {16, 105, 448, 129}, L"部分杀毒软件会有误报的情况，需添加信任", childStyle,
     WS_DISABLED | WS_TABSTOP | WS_BORDER, 0},
};

TEST_F(MainWindowTest, ShowsTheFourControlsOfTheDescription)
{
    for (const ExpectedControl& expected : expectedControls) {
        SCOPED_TRACE(testing::Message() << "control " << expected.id);
        HWND control = app.control(expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(CompareStringOrdinal(e2e::className(control).c_str(), -1, expected.windowClass, -1, TRUE),
                  CSTR_EQUAL)
            << "class";
        const RECT rect = clientRectOf(control);
        EXPECT_EQ(rect.left, expected.rect.left);
        EXPECT_EQ(rect.top, expected.rect.top);
        EXPECT_EQ(rect.right, expected.rect.right);
        EXPECT_EQ(rect.bottom, expected.rect.bottom);
        EXPECT_EQ(app.text(expected.id), expected.text);
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        EXPECT_EQ(style & expected.requiredStyle, expected.requiredStyle);
        EXPECT_EQ(style & expected.forbiddenStyle, 0);
        EXPECT_EQ(GetWindowLongW(control, GWL_EXSTYLE), expected.exStyle);
    }
    // Exactly these four children.
    int children = 0;
    for (HWND child = GetWindow(app.window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, 4);
}

TEST_F(MainWindowTest, StacksTheNoticeOnTopAndTheConfigureButtonAtTheBottom)
{
    std::vector<int> stacking;
    for (HWND child = GetWindow(app.window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        stacking.push_back(GetDlgCtrlID(child));
    }
    EXPECT_EQ(stacking, (std::vector<int>{id::noticeLabel, id::browseButton, id::folderEdit, id::configureButton}));
}

// --- Pixels ---------------------------------------------------------------

bool isBlack(COLORREF colour)
{
    return colour == RGB(0, 0, 0);
}

bool isStrongRed(COLORREF colour)
{
    return GetRValue(colour) >= 160 && GetGValue(colour) <= 60 && GetBValue(colour) <= 60;
}

// Red text anti-aliased onto black stays a shade of red.
bool isRedOnBlack(COLORREF colour)
{
    return GetGValue(colour) <= 60 && GetBValue(colour) <= 60;
}

TEST_F(MainWindowTest, ClientAreaIsBlackAroundTheControls)
{
    const e2e::ClientImage image = e2e::captureClient(app.window());
    ASSERT_GT(image.width, 0);
    const POINT gaps[] = {{2, 2}, {8, 30}, {266, 30}, {180, 56}, {180, 104}, {350, 80}, {image.width - 2, 10},
                          {8, image.height - 2}, {image.width - 2, image.height - 2}};
    for (const POINT& gap : gaps) {
        EXPECT_TRUE(isBlack(image.at(gap.x, gap.y))) << "pixel " << gap.x << "," << gap.y << " is 0x" << std::hex
                                                     << image.at(gap.x, gap.y);
    }
}

TEST_F(MainWindowTest, NoticeIsRedOnBlackOnOneLeftAlignedCentredLine)
{
    const e2e::ClientImage image = e2e::captureClient(app.window());
    ASSERT_GT(image.width, 0);
    const RECT label{16, 105, image.width, 129};  // the label is cut off at the client's right edge

    int redPixels = 0;
    RECT ink{label.right, label.bottom, label.left, label.top};
    for (int y = label.top; y < label.bottom; ++y) {
        for (int x = label.left; x < label.right; ++x) {
            const COLORREF colour = image.at(x, y);
            ASSERT_TRUE(isRedOnBlack(colour)) << "pixel " << x << "," << y << " is 0x" << std::hex << colour;
            if (!isStrongRed(colour)) continue;
            ++redPixels;
            ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x),
                   std::max<LONG>(ink.bottom, y)};
        }
    }
    ASSERT_GT(redPixels, 200) << "the notice's text is missing";
    EXPECT_LE(ink.left - label.left, 4) << "left-aligned";
    const int inkMiddle = (ink.top + ink.bottom) / 2;
    EXPECT_NEAR(inkMiddle, (label.top + label.bottom) / 2, 3) << "vertically centred";
    EXPECT_LE(ink.bottom - ink.top, 16) << "one line";
}

// --- Keyboard -------------------------------------------------------------

TEST_F(MainWindowTest, StartsWithTheFocusOnTheConfigureButton)
{
    EXPECT_TRUE(focusReaches(id::configureButton)) << "focused: " << app.focusedControlId();
}

struct FocusWalk {
    const char* name;
    KeyStroke key;
    std::vector<int> visits;  // focus after each press, starting from the configure button
};

void PrintTo(const FocusWalk& c, std::ostream* out)
{
    *out << "key " << c.key.key;
    if (c.key.modifier) *out << " with " << c.key.modifier;
    *out << " visits";
    for (int visit : c.visits) *out << ' ' << visit;
}

class FocusCycleTest : public MainWindowTest, public ::testing::WithParamInterface<FocusWalk> {};

TEST_P(FocusCycleTest, VisitsTheButtonsAndTheBoxInOrderAndWrapsAround)
{
    ASSERT_TRUE(focusReaches(id::configureButton));
    for (int expected : GetParam().visits) {
        ASSERT_TRUE(app.press(GetParam().key));
        EXPECT_TRUE(focusReaches(expected)) << "expected " << expected << ", focused " << app.focusedControlId();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FocusCycleTest,
    ::testing::Values(
        FocusWalk{"Tab", {VK_TAB}, {id::folderEdit, id::browseButton, id::configureButton, id::folderEdit}},
        FocusWalk{"ShiftTab",
                  {VK_TAB, VK_SHIFT},
                  {id::browseButton, id::folderEdit, id::configureButton, id::browseButton}}),
    [](const auto& test) { return std::string(test.param.name); });

// Enter is no default button: it neither clicks, nor moves the focus, nor
// leaves a character in the box. The Tab after it proves it was processed.
class EnterKeyTest : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(EnterKeyTest, DoesNothingOnAnyControl)
{
    const int focused = GetParam();
    ASSERT_TRUE(app.setText(id::folderEdit, L"C:\\jdk"));
    focusByTab(focused);

    ASSERT_TRUE(app.press({VK_RETURN}));
    ASSERT_TRUE(app.press({VK_TAB}));
    EXPECT_TRUE(e2e::waitUntil([&] { return app.focusedControlId() != focused; }));

    EXPECT_EQ(app.findDialogWith(IDOK), nullptr) << "Enter opened a box or dialog";
    EXPECT_EQ(app.text(id::folderEdit), L"C:\\jdk");
    EXPECT_TRUE(IsWindowEnabled(app.window()));
}

INSTANTIATE_TEST_SUITE_P(Controls, EnterKeyTest,
                         ::testing::Values(id::configureButton, id::folderEdit, id::browseButton));

TEST_F(MainWindowTest, TabInTheBoxLeavesNoCharacterBehind)
{
    ASSERT_TRUE(app.setText(id::folderEdit, L"abc"));
    focusByTab(id::folderEdit);
    ASSERT_TRUE(app.press({VK_TAB}));
    ASSERT_TRUE(focusReaches(id::browseButton));
    EXPECT_EQ(app.text(id::folderEdit), L"abc");
}

TEST_F(MainWindowTest, SpaceOnTheConfigureButtonClicksIt)
{
    ASSERT_TRUE(focusReaches(id::configureButton));
    ASSERT_TRUE(app.press({VK_SPACE}));

    // With an empty box the configure action answers with a box of its own.
    HWND box = app.waitForMessageBox();
    ASSERT_NE(box, nullptr) << "Space did not click the configure button";
    EXPECT_EQ(e2e::readMessageBox(box).caption, L"信息：");
    e2e::pressDialogButton(box, IDOK);
    EXPECT_TRUE(e2e::waitUntil([&] { return app.findMessageBox() == nullptr; }));
}

class MinimiseRestoreTest : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(MinimiseRestoreTest, GivesTheFocusBackToTheControlThatHadItAndKeepsTheText)
{
    const int focused = GetParam();
    ASSERT_TRUE(app.setText(id::folderEdit, L"D:\\Java\\jdk 测试"));
    focusByTab(focused);

    PostMessageW(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(e2e::waitUntil([&] { return IsIconic(app.window()) != FALSE; }));
    PostMessageW(app.window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(e2e::waitUntil([&] { return IsIconic(app.window()) == FALSE; }));

    EXPECT_TRUE(focusReaches(focused)) << "focused " << app.focusedControlId();
    EXPECT_EQ(app.text(id::folderEdit), L"D:\\Java\\jdk 测试");
}

INSTANTIATE_TEST_SUITE_P(Controls, MinimiseRestoreTest,
                         ::testing::Values(id::configureButton, id::folderEdit, id::browseButton));

// --- Closing --------------------------------------------------------------

struct CloseWay {
    const char* name;
    bool (*close)(const AppDriver& app);  // false: the way could not be taken
};

// The way is code; its name says what it does.
void PrintTo(const CloseWay& c, std::ostream* out)
{
    *out << c.name;
}

class CloseTest : public MainWindowTest, public ::testing::WithParamInterface<CloseWay> {};

TEST_P(CloseTest, EndsTheProcessWithExitCodeZero)
{
    ASSERT_TRUE(focusReaches(id::configureButton));
    ASSERT_TRUE(GetParam().close(app)) << "the input or message could not be sent";
    const auto exitCode = app.waitForExit();
    ASSERT_TRUE(exitCode.has_value()) << "the process did not end; its window is "
                                      << (IsWindow(app.window()) ? "still open" : "gone");
    EXPECT_EQ(*exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CloseTest,
    ::testing::Values(CloseWay{"Esc", [](const AppDriver& app) { return app.press({VK_ESCAPE}); }},
                      CloseWay{"EscInTheBox",
                               [](const AppDriver& app) {
                                   return app.press({VK_TAB}) &&
                                          e2e::waitUntil([&] { return app.focusedControlId() == id::folderEdit; }) &&
                                          app.press({VK_ESCAPE});
                               }},
                      CloseWay{"AltF4", [](const AppDriver& app) { return app.postAltKey(VK_F4); }},
                      CloseWay{"CloseMessage",
                               [](const AppDriver& app) {
                                   return PostMessageW(app.window(), WM_CLOSE, 0, 0) != FALSE;
                               }},
                      CloseWay{"SystemMenuClose",
                               [](const AppDriver& app) {
                                   return PostMessageW(app.window(), WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE;
                               }}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
