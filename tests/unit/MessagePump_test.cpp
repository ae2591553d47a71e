// The message step shared by the main loop and the listing, and the pass
// over pending messages that leaves WM_QUIT for the main loop.

#include "syshelper/MessagePump.h"
#include "syshelper/Unique.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A message-only window that records what reaches its window procedure.
class RecordingWindow {
public:
    RecordingWindow()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &RecordingWindow::procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
        window_.reset(CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }

    HWND handle() const { return window_.get(); }
    const std::vector<UINT>& received() const { return received_; }

private:
    static constexpr const wchar_t* className = L"ZovrelRecordingWindow";

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message >= WM_KEYFIRST && message <= WM_APP + 100) self->received_.push_back(message);
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::vector<UINT> received_;
    UniqueWindow window_;
};

// Takes the thread's queue empty, answering whether a WM_QUIT was in it
// and with which exit code.
bool takeQuit(WPARAM& exitCode)
{
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            exitCode = msg.wParam;
        }
    }
    return quit;
}

class MessagePumpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WPARAM ignored = 0;
        takeQuit(ignored);
        ASSERT_NE(window.handle(), nullptr);
    }

    RecordingWindow window;
};

struct PendingCase {
    const char* name;
    bool quitFirst;
};

class PendingMessagesTest : public MessagePumpTest, public ::testing::WithParamInterface<PendingCase> {};

// Posted messages are handled in order whether WM_QUIT was posted before or
// after them; the WM_QUIT itself stays queued with its exit code.
TEST_P(PendingMessagesTest, HandlesPostedMessagesAndLeavesQuitQueued)
{
    if (GetParam().quitFirst) PostQuitMessage(7);
    PostMessageW(window.handle(), WM_APP + 1, 0, 0);
    PostMessageW(window.handle(), WM_APP + 2, 0, 0);
    if (!GetParam().quitFirst) PostQuitMessage(7);

    processPendingMessages();

    EXPECT_EQ(window.received(), (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
    WPARAM exitCode = 0;
    EXPECT_TRUE(takeQuit(exitCode));
    EXPECT_EQ(exitCode, 7u);
}

INSTANTIATE_TEST_SUITE_P(Orders, PendingMessagesTest,
                         ::testing::Values(PendingCase{"QuitPostedLast", false}, PendingCase{"QuitPostedFirst", true}),
                         unittest::caseName<PendingCase>);

TEST_F(MessagePumpTest, PassWithNothingQueuedHandlesNothing)
{
    processPendingMessages();
    EXPECT_TRUE(window.received().empty());
}

// The step translates before it dispatches: a key press yields its character.
TEST_F(MessagePumpTest, ProcessMessageTranslatesKeysIntoCharacters)
{
    const UINT scanCode = MapVirtualKeyW('A', MAPVK_VK_TO_VSC);
    MSG keyDown{window.handle(), WM_KEYDOWN, 'A', static_cast<LPARAM>(1 | (scanCode << 16)), 0, {0, 0}};
    processMessage(keyDown);
    processPendingMessages();
    EXPECT_EQ(window.received(), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
}

}  // namespace
