// The environment operations of SystemHelper (getVariable, setVariable,
// removeVariable, countVariables) and readScopeVariable against the
// "WScript.Shell" stand-in of the test prefix, and the helper's COM balance.

#include "CaseName.h"
#include "EnvironmentFixture.h"
#include "ScriptedObject.h"
#include "tests/support/ParamPrint.h"

#include <functional>
#include <optional>
#include <thread>

namespace {

using testsupport::StoredValue;
using unittest::EmptyUserScopeTest;
using unittest::EnvironmentTest;
using unittest::scratchA;
using unittest::scratchB;

const testsupport::RegistryLocation& scopeOf(bool userScope)
{
    return testsupport::environmentOf(userScope);
}

// ---- writes and reads ---------------------------------------------------

struct WriteCase {
    const char* name;
    bool userScope;
    Text value;
    StoredValue stored;
};

void PrintTo(const WriteCase& c, std::ostream* out)
{
    *out << (c.userScope ? "user " : "system ") << testsupport::brief(c.value) << " as "
         << testsupport::registryTypeName(c.stored.type);
}

class WriteTest : public EnvironmentTest, public ::testing::WithParamInterface<WriteCase> {};

// The value is stored as given, REG_EXPAND_SZ exactly when it holds a
// %NAME% reference, and reads back unexpanded.
TEST_P(WriteTest, StoresTheValueAndReadsItBack)
{
    const WriteCase& testCase = GetParam();
    clearCause();
    EXPECT_TRUE(helper->setVariable(testCase.userScope, scratchA, testCase.value));
    EXPECT_EQ(lastCause(), S_OK);
    EXPECT_EQ(testsupport::readValue(scopeOf(testCase.userScope), toWide(scratchA)), testCase.stored);
    EXPECT_EQ(helper->getVariable(testCase.userScope, scratchA), testCase.value);
}

INSTANTIATE_TEST_SUITE_P(
    Values, WriteTest,
    ::testing::Values(
        WriteCase{"SystemPlain", false, "C:\\jdk1.8", {REG_SZ, L"C:\\jdk1.8"}},
        WriteCase{"UserPlain", true, "C:\\jdk1.8", {REG_SZ, L"C:\\jdk1.8"}},
        WriteCase{"SystemReference", false, "%JAVA_HOME%\\jre", {REG_EXPAND_SZ, L"%JAVA_HOME%\\jre"}},
        WriteCase{"UserReference", true, "a;%JAVA_HOME%\\bin", {REG_EXPAND_SZ, L"a;%JAVA_HOME%\\bin"}},
        WriteCase{"LonePercentIsNoReference", false, "100%", {REG_SZ, L"100%"}},
        WriteCase{"Chinese", false, "D:\\\xB9\xA4\xBE\xDF\\jdk", {REG_SZ, L"D:\\\u5DE5\u5177\\jdk"}},
        WriteCase{"LongerThan255Bytes", false, Text(300, 'v'), {REG_SZ, std::wstring(300, L'v')}},
        WriteCase{"EmptyValue", true, "", {REG_SZ, L""}}),
    unittest::caseName<WriteCase>);

TEST_F(EnvironmentTest, AbsentNameReadsEmpty)
{
    EXPECT_EQ(helper->getVariable(false, scratchA), "");
    EXPECT_EQ(helper->getVariable(true, scratchA), "");
}

struct FallbackCase {
    const char* name;
    std::optional<Text> inScope;  // nothing: the scope lacks the name
    Text inProcess;
};

void PrintTo(const FallbackCase& c, std::ostream* out)
{
    *out << "scope " << testsupport::brief(c.inScope) << ", process " << testsupport::brief(c.inProcess);
}

class ProcessFallbackTest : public EnvironmentTest, public ::testing::WithParamInterface<FallbackCase> {};

// A name the scope lacks, or holds empty, is read from the process's own
// environment instead, whole however long it is.
TEST_P(ProcessFallbackTest, ReadsTheProcessEnvironment)
{
    const FallbackCase& testCase = GetParam();
    if (testCase.inScope) {
        ASSERT_TRUE(helper->setVariable(false, scratchA, *testCase.inScope));
    }
    // Only the user scope holds a value: a system read must not see it.
    ASSERT_TRUE(helper->setVariable(true, scratchA, "user value"));
    ASSERT_TRUE(SetEnvironmentVariableA(scratchA, testCase.inProcess.c_str()));
    EXPECT_EQ(helper->getVariable(false, scratchA), testCase.inProcess);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProcessFallbackTest,
                         ::testing::Values(FallbackCase{"NameAbsent", std::nullopt, "from process"},
                                           FallbackCase{"ValueEmpty", Text(), "from process"},
                                           FallbackCase{"ChineseValue", std::nullopt, "\xD6\xD0\xCE\xC4 value"},
                                           FallbackCase{"LongerThan255Bytes", std::nullopt, Text(300, 'p')}),
                         unittest::caseName<FallbackCase>);

TEST_F(EnvironmentTest, ScopeValueWinsOverTheProcessValue)
{
    ASSERT_TRUE(helper->setVariable(false, scratchA, "from scope"));
    ASSERT_TRUE(SetEnvironmentVariableA(scratchA, "from process"));
    EXPECT_EQ(helper->getVariable(false, scratchA), "from scope");
}

// ---- remove and count ---------------------------------------------------

TEST_F(EnvironmentTest, RemoveTakesThePresentNameAway)
{
    for (bool userScope : {false, true}) {
        ASSERT_TRUE(helper->setVariable(userScope, scratchA, "x"));
        EXPECT_TRUE(helper->removeVariable(userScope, scratchA));
        EXPECT_FALSE(testsupport::readValue(scopeOf(userScope), toWide(scratchA))) << "userScope " << userScope;
    }
}

TEST_F(EnvironmentTest, RemovingAnAbsentNameIsTrue)
{
    EXPECT_TRUE(helper->removeVariable(false, scratchA));
    EXPECT_TRUE(helper->removeVariable(true, scratchA));
}

TEST_F(EnvironmentTest, CountIsTheNumberOfVariablesInTheScope)
{
    ASSERT_TRUE(helper->setVariable(true, scratchA, "1"));
    ASSERT_TRUE(helper->setVariable(false, scratchB, "2"));
    for (bool userScope : {false, true}) {
        const auto stored = static_cast<int32_t>(testsupport::valueNames(scopeOf(userScope)).size());
        clearCause();
        EXPECT_EQ(helper->countVariables(userScope), stored) << "userScope " << userScope;
        EXPECT_EQ(lastCause(), S_OK);
    }
    EXPECT_EQ(helper->countVariables(), helper->countVariables(false)) << "userScope left out";
}


TEST_F(EmptyUserScopeTest, CountOfAnEmptyScopeIsZero)
{
    EXPECT_EQ(helper->countVariables(true), 0);
}

// ---- failures -----------------------------------------------------------

struct FailureCase {
    const char* name;
    std::function<std::string(SystemHelper&)> run;  // the result, printed
    std::string expected;
};

void PrintTo(const FailureCase& c, std::ostream* out)
{
    *out << c.name << " gives " << testsupport::brief(c.expected);
}

std::string printed(bool value)
{
    return value ? "true" : "false";
}

const std::vector<FailureCase> unavailableCases{
    {"GetIgnoresTheProcessEnvironment", [](SystemHelper& helper) { return helper.getVariable(false, scratchB); }, ""},
    {"Set", [](SystemHelper& helper) { return printed(helper.setVariable(false, scratchA, "new")); }, "false"},
    {"Remove", [](SystemHelper& helper) { return printed(helper.removeVariable(false, scratchB)); }, "false"},
    {"Count", [](SystemHelper& helper) { return std::to_string(helper.countVariables(true)); }, "-1"},
    {"List",
     [](SystemHelper& helper) {
         TextList entries{"kept"};
         const int32_t count = helper.listVariables(true, entries);
         return std::to_string(count) + " " + std::to_string(entries.size());
     },
     "-1 1"}};

class UnavailableShellTest : public EnvironmentTest, public ::testing::WithParamInterface<FailureCase> {};

// Without the shell object each operation gives its creation-failure value,
// changes nothing and leaves the creation error as the cause.
TEST_P(UnavailableShellTest, GivesTheCreationFailureValue)
{
    ASSERT_TRUE(helper->setVariable(false, scratchB, "stored"));
    ASSERT_TRUE(SetEnvironmentVariableA(scratchB, "in process"));
    const unittest::UnregisteredShell unavailable;
    clearCause();
    EXPECT_EQ(GetParam().run(*helper), GetParam().expected);
    EXPECT_TRUE(FAILED(lastCause())) << std::hex << lastCause();
    EXPECT_FALSE(testsupport::readValue(testsupport::systemEnvironment, toWide(scratchA)));
    EXPECT_EQ(testsupport::readValue(testsupport::systemEnvironment, toWide(scratchB)),
              (StoredValue{REG_SZ, L"stored"}));
}

INSTANTIATE_TEST_SUITE_P(Operations, UnavailableShellTest, ::testing::ValuesIn(unavailableCases),
                         unittest::caseName<FailureCase>);

TEST_F(EnvironmentTest, RefusedSystemWriteIsFalseWithAccessDenied)
{
    ASSERT_TRUE(helper->setVariable(false, scratchA, "old"));
    const testsupport::StandInSwitch refuse(standin::refuseSystemWrites);
    clearCause();
    EXPECT_FALSE(helper->setVariable(false, scratchA, "new"));
    EXPECT_EQ(lastCause(), E_ACCESSDENIED);
    EXPECT_EQ(testsupport::readValue(testsupport::systemEnvironment, toWide(scratchA)), (StoredValue{REG_SZ, L"old"}));
    EXPECT_TRUE(helper->setVariable(true, scratchA, "user writes still work"));
}

// A failed "Remove" counts as nothing returned, which is success.
TEST_F(EnvironmentTest, RefusedSystemRemoveIsStillTrue)
{
    ASSERT_TRUE(helper->setVariable(false, scratchA, "kept"));
    const testsupport::StandInSwitch refuse(standin::refuseSystemWrites);
    clearCause();
    EXPECT_TRUE(helper->removeVariable(false, scratchA));
    EXPECT_EQ(lastCause(), E_ACCESSDENIED);
    EXPECT_TRUE(testsupport::readValue(testsupport::systemEnvironment, toWide(scratchA)));
}

// A shell object whose collection answers nothing: every call after
// "Environment" fails, which gives the "later call fails" column.
class FailingCollectionTest : public EnvironmentTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    void SetUp() override
    {
        EnvironmentTest::SetUp();
        shell->addMember(L"Environment", DISPATCH_PROPERTYGET, unittest::answerObject(collection));
    }

    ComPtr<unittest::ScriptedObject> shell = unittest::ScriptedObject::make();
    ComPtr<unittest::ScriptedObject> collection = unittest::ScriptedObject::make();
};

const std::vector<FailureCase> failingCollectionCases{
    {"GetFallsBackToTheProcess", [](SystemHelper& helper) { return helper.getVariable(false, scratchB); },
     "in process"},
    {"Set", [](SystemHelper& helper) { return printed(helper.setVariable(false, scratchA, "new")); }, "false"},
    {"Remove", [](SystemHelper& helper) { return printed(helper.removeVariable(false, scratchB)); }, "true"},
    {"Count", [](SystemHelper& helper) { return std::to_string(helper.countVariables(false)); }, "0"},
    {"List",
     [](SystemHelper& helper) {
         TextList entries{"kept"};
         const int32_t count = helper.listVariables(false, entries);
         return std::to_string(count) + " " + std::to_string(entries.size());
     },
     "1 1"}};

TEST_P(FailingCollectionTest, GivesTheLaterFailureValueAndReleasesBothObjects)
{
    ASSERT_TRUE(SetEnvironmentVariableA(scratchB, "in process"));
    const ULONG shellReferences = shell->references();
    const ULONG collectionReferences = collection->references();
    {
        const unittest::ClassStandIn standIn(L"WScript.Shell", shell);
        ASSERT_TRUE(standIn.registered());
        clearCause();
        EXPECT_EQ(GetParam().run(*helper), GetParam().expected);
        EXPECT_EQ(lastCause(), DISP_E_UNKNOWNNAME);
    }
    EXPECT_EQ(shell->references(), shellReferences);
    EXPECT_EQ(collection->references(), collectionReferences);
    const std::vector<WORD> environmentCalls = shell->kindsTried(L"Environment");
    ASSERT_FALSE(environmentCalls.empty());
    EXPECT_EQ(environmentCalls.back(), DISPATCH_PROPERTYGET);
    EXPECT_EQ(shell->calls().back().arguments, std::vector<std::wstring>{L"system"});
}

INSTANTIATE_TEST_SUITE_P(Operations, FailingCollectionTest, ::testing::ValuesIn(failingCollectionCases),
                         unittest::caseName<FailureCase>);

// ---- the scope-only read ------------------------------------------------

TEST_F(EnvironmentTest, ScopeReadGivesTheStoredValueUnexpanded)
{
    ASSERT_TRUE(helper->setVariable(false, scratchA, "%SystemRoot%\\system32"));
    Text value;
    EXPECT_EQ(readScopeVariable(false, scratchA, value), S_OK);
    EXPECT_EQ(value, "%SystemRoot%\\system32");
}

TEST_F(EnvironmentTest, ScopeReadNeverFallsBackToTheProcess)
{
    ASSERT_TRUE(SetEnvironmentVariableA(scratchA, "in process"));
    Text value = "old";
    EXPECT_EQ(readScopeVariable(false, scratchA, value), S_OK);
    EXPECT_EQ(value, "");
}

TEST_F(EnvironmentTest, ScopeReadReportsTheCreationFailure)
{
    ASSERT_TRUE(helper->setVariable(false, scratchA, "stored"));
    const unittest::UnregisteredShell unavailable;
    Text value = "old";
    EXPECT_TRUE(FAILED(readScopeVariable(false, scratchA, value)));
    EXPECT_EQ(value, "");
}

// ---- COM initialisation balance -----------------------------------------

// What CoInitialize answers on a new thread after `scenario` ran there:
// S_OK when the thread's COM count is back at 0, S_FALSE when it is higher.
HRESULT initialisationAfter(const std::function<void()>& scenario)
{
    HRESULT answer = E_FAIL;
    std::thread thread([&] {
        scenario();
        answer = CoInitialize(nullptr);
        // Leave the thread as it came, whatever the count.
        while (CoInitialize(nullptr) == S_FALSE) {
            CoUninitialize();
            CoUninitialize();
        }
        CoUninitialize();
    });
    thread.join();
    return answer;
}

struct BalanceCase {
    const char* name;
    int operations;  // run on the first helper
    bool withCopy;   // a copy is made and destroyed too
    HRESULT expected;
};

void PrintTo(const BalanceCase& c, std::ostream* out)
{
    *out << c.operations << " operations" << (c.withCopy ? " and a copy" : "") << ": "
         << testsupport::hex(c.expected);
}

class ComBalanceTest : public ::testing::TestWithParam<BalanceCase> {};

// n environment operations leave n initialisations; each destroyed helper
// (the copy included) takes exactly one away.
TEST_P(ComBalanceTest, EachDestroyUninitialisesOnce)
{
    const BalanceCase& testCase = GetParam();
    const HRESULT answer = initialisationAfter([&] {
        SystemHelperPtr helper = SystemHelper::create();
        for (int index = 0; index < testCase.operations; ++index) helper->countVariables(true);
        if (testCase.withCopy) helper->copy().reset();
    });
    EXPECT_EQ(answer, testCase.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ComBalanceTest,
                         ::testing::Values(BalanceCase{"OneOperation", 1, false, S_OK},
                                           BalanceCase{"TwoOperations", 2, false, S_FALSE},
                                           BalanceCase{"TwoOperationsAndACopy", 2, true, S_OK},
                                           BalanceCase{"ThreeOperationsAndACopy", 3, true, S_FALSE}),
                         unittest::caseName<BalanceCase>);

// Creation and copy leave the thread uninitialised; then two initialisations
// are taken away again by the two destroys.
TEST(ComBalance, CreationAndCopyMakeNoComCall)
{
    HRESULT afterCreation = E_FAIL;
    const HRESULT answer = initialisationAfter([&] {
        SystemHelperPtr helper = SystemHelper::create();
        SystemHelperPtr copy = helper->copy();
        afterCreation = CoInitialize(nullptr);
        CoInitialize(nullptr);
        EXPECT_NE(copy.get(), helper.get());
        EXPECT_EQ(&copy->operations(), &helper->operations());
    });
    EXPECT_EQ(afterCreation, S_OK);
    EXPECT_EQ(answer, S_OK);
}

TEST(ComBalance, ScopeReadBalancesItsOwnInitialisation)
{
    Text value;
    const HRESULT answer = initialisationAfter([&] { readScopeVariable(true, "PATH", value); });
    EXPECT_EQ(answer, S_OK);
}

}  // namespace
