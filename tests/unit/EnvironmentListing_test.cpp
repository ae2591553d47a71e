// listVariables against the "WScript.Shell" stand-in: entries appended
// after the caller's texts, each failure the enumerator can show, and the
// window messages handled while a listing runs.

#include "CaseName.h"
#include "EnvironmentFixture.h"
#include "RecordingWindow.h"
#include "tests/support/ParamPrint.h"

#include <algorithm>
#include <optional>

namespace {

using unittest::EnvironmentTest;
using unittest::scratchA;
using unittest::scratchB;
using unittest::scratchC;

const TextList oldTexts{"old 1", "old 2", "old 3"};

// The user scope's entries as the stand-in's enumerator reports them,
// "NAME=value", in no particular order.
TextList userScopeEntries()
{
    TextList entries;
    for (const std::wstring& name : testsupport::valueNames(testsupport::userEnvironment)) {
        const auto stored = testsupport::readValue(testsupport::userEnvironment, name);
        entries.push_back(toText(name + L"=" + (stored ? stored->data : std::wstring())));
    }
    return entries;
}

TextList sorted(TextList texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

class ListingTest : public EnvironmentTest {
protected:
    void SetUp() override
    {
        EnvironmentTest::SetUp();
        // At least three entries, so a listing cut after two shows.
        ASSERT_TRUE(helper->setVariable(true, scratchA, "1"));
        ASSERT_TRUE(helper->setVariable(true, scratchB, "\xD6\xD0\xCE\xC4"));
        ASSERT_TRUE(helper->setVariable(true, scratchC, "%JAVA_HOME%\\bin"));
        scopeEntries = userScopeEntries();
        ASSERT_GE(scopeEntries.size(), 3u);
    }

    TextList scopeEntries;
};

TEST_F(ListingTest, AppendsEveryEntryAfterTheCallersTexts)
{
    TextList entries = oldTexts;
    clearCause();
    const int32_t count = helper->listVariables(true, entries);
    EXPECT_EQ(count, static_cast<int32_t>(oldTexts.size() + scopeEntries.size()));
    ASSERT_EQ(entries.size(), oldTexts.size() + scopeEntries.size());
    EXPECT_TRUE(std::equal(oldTexts.begin(), oldTexts.end(), entries.begin()));
    EXPECT_EQ(sorted(TextList(entries.begin() + 3, entries.end())), sorted(scopeEntries));
    EXPECT_EQ(lastCause(), S_OK);
    EXPECT_NE(std::find(entries.begin(), entries.end(), "ZOVREL_UNIT_B=\xD6\xD0\xCE\xC4"), entries.end());
    EXPECT_NE(std::find(entries.begin(), entries.end(), "ZOVREL_UNIT_C=%JAVA_HOME%\\bin"), entries.end());
}

TEST_F(ListingTest, SystemScopeIsTheDefault)
{
    TextList entries;
    const int32_t count = helper->listVariables(entries);
    EXPECT_EQ(count, static_cast<int32_t>(testsupport::valueNames(testsupport::systemEnvironment).size()));
    EXPECT_EQ(std::find(entries.begin(), entries.end(), "ZOVREL_UNIT_A=1"), entries.end());
}

struct SwitchCase {
    const char* name;
    const wchar_t* switchName;
    DWORD switchValue;
    // What is appended after the old texts: the leading items the switch
    // adds, then all of the scope's entries (or, with `entriesCut`, only
    // that many of them).
    TextList leading;
    std::optional<size_t> entriesCut;
    HRESULT cause;
};

void PrintTo(const SwitchCase& c, std::ostream* out)
{
    *out << testsupport::brief(c.switchName) << '=' << c.switchValue << ", cause " << testsupport::hex(c.cause);
}

class ListingSwitchTest : public ListingTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(ListingSwitchTest, AppendsWhatTheEnumeratorDelivers)
{
    const SwitchCase& testCase = GetParam();
    const testsupport::StandInSwitch enumeratorSwitch(testCase.switchName, testCase.switchValue);
    TextList entries = oldTexts;
    clearCause();
    const int32_t count = helper->listVariables(true, entries);

    const size_t fromScope = testCase.entriesCut.value_or(scopeEntries.size());
    const size_t appended = testCase.leading.size() + fromScope;
    EXPECT_EQ(count, static_cast<int32_t>(oldTexts.size() + appended));
    ASSERT_EQ(entries.size(), oldTexts.size() + appended);
    EXPECT_TRUE(std::equal(oldTexts.begin(), oldTexts.end(), entries.begin()));
    const auto leadingEnd = entries.begin() + static_cast<ptrdiff_t>(oldTexts.size() + testCase.leading.size());
    EXPECT_EQ(TextList(entries.begin() + 3, leadingEnd), testCase.leading);
    const TextList fromEnumerator(leadingEnd, entries.end());
    for (const Text& entry : fromEnumerator) {
        EXPECT_NE(std::find(scopeEntries.begin(), scopeEntries.end(), entry), scopeEntries.end()) << entry;
    }
    if (!testCase.entriesCut) {
        EXPECT_EQ(sorted(fromEnumerator), sorted(scopeEntries));
    }
    EXPECT_EQ(lastCause(), testCase.cause);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, ListingSwitchTest,
    ::testing::Values(
        SwitchCase{"NonStringItemInItsStringForm", standin::enumNonStringItem, 1, {"42"}, std::nullopt, S_OK},
        SwitchCase{"ArrayItemAsEmptyText", standin::enumArrayItem, 1, {""}, std::nullopt, S_OK},
        SwitchCase{"FailingNextKeepsWhatCameBefore", standin::failNextAfter, 2, {}, size_t{2}, E_FAIL},
        SwitchCase{"FailingNextAtOnce", standin::failNextAfter, 0, {}, size_t{0}, E_FAIL},
        SwitchCase{"FailingNewEnum", standin::failNewEnum, 1, {}, size_t{0}, DISP_E_MEMBERNOTFOUND},
        SwitchCase{"NotAnEnumerator", standin::notAnEnumerator, 1, {}, size_t{0}, E_NOINTERFACE}),
    unittest::caseName<SwitchCase>);

TEST_F(ListingTest, UnavailableShellGivesMinusOneAndLeavesTheList)
{
    const unittest::UnregisteredShell unavailable;
    TextList entries = oldTexts;
    EXPECT_EQ(helper->listVariables(true, entries), -1);
    EXPECT_EQ(entries, oldTexts);
}

// The user scope emptied for one test and filled again afterwards.
using EmptyScopeListingTest = unittest::EmptyUserScopeTest;

TEST_F(EmptyScopeListingTest, EmptyScopeGivesTheOldCount)
{
    TextList entries = oldTexts;
    EXPECT_EQ(helper->listVariables(true, entries), static_cast<int32_t>(oldTexts.size()));
    EXPECT_EQ(entries, oldTexts);
    TextList none;
    EXPECT_EQ(helper->listVariables(true, none), 0);
}

// ---- window messages during a listing -----------------------------------

class ListingMessagesTest : public ListingTest {
protected:
    void SetUp() override
    {
        ListingTest::SetUp();
        WPARAM ignored = 0;
        unittest::takeQuit(ignored);
        ASSERT_NE(window.handle(), nullptr);
    }

    unittest::RecordingWindow window;
};

TEST_F(ListingMessagesTest, QuitStaysQueuedAndTheListingRunsToItsEnd)
{
    PostQuitMessage(9);
    TextList entries;
    EXPECT_EQ(helper->listVariables(true, entries), static_cast<int32_t>(scopeEntries.size()));
    WPARAM exitCode = 0;
    EXPECT_TRUE(unittest::takeQuit(exitCode));
    EXPECT_EQ(exitCode, 9u);
}

TEST_F(ListingMessagesTest, PendingWindowMessagesAreHandledBeforeTheCallReturns)
{
    PostMessageW(window.handle(), WM_APP + 5, 0, 0);
    PostMessageW(window.handle(), WM_APP + 6, 0, 0);
    TextList entries;
    helper->listVariables(true, entries);
    EXPECT_EQ(window.received(), (std::vector<UINT>{WM_APP + 5, WM_APP + 6}));
}

}  // namespace
