// The message step shared by the main loop and the listing, and the pass
// over pending messages that leaves WM_QUIT for the main loop.

#include "syshelper/MessagePump.h"
#include "syshelper/Unique.h"

#include "CaseName.h"
#include "RecordingWindow.h"
#include "tests/support/ParamPrint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using unittest::RecordingWindow;
using unittest::takeQuit;

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

void PrintTo(const PendingCase& c, std::ostream* out)
{
    *out << (c.quitFirst ? "WM_QUIT before the messages" : "WM_QUIT after the messages");
}

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
