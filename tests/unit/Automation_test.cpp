// The late-bound call layer against an automation object of the tests' own:
// the dispatch kinds each call kind tries and in which order, how arguments
// travel, and the failure value each call kind leaves.

#include "ScriptedObject.h"

#include "syshelper/Automation.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using unittest::RecordedCall;
using unittest::ScriptedObject;

constexpr WORD method = DISPATCH_METHOD;
constexpr WORD get = DISPATCH_PROPERTYGET;
constexpr WORD put = DISPATCH_PROPERTYPUT;
constexpr WORD putRef = DISPATCH_PROPERTYPUTREF;

enum class CallKind { methodForObject, propertyText, propertyNumber, methodForNumber, propertyWrite };

class AutomationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override
    {
        target.reset();
        CoUninitialize();
    }

    AutomationObject reference() const
    {
        IUnknown* unknown = static_cast<IDispatch*>(target.get());
        unknown->AddRef();
        return AutomationObject(ComPtr<IUnknown>::attach(unknown));
    }

    // Makes one call of `kind` on "Member"; true when it reported success.
    bool call(CallKind kind, const TextList& arguments = {"a"})
    {
        const AutomationObject object = reference();
        switch (kind) {
        case CallKind::methodForObject: {
            AutomationObject result;
            return SUCCEEDED(object.callMethodForObject(L"Member", arguments, result));
        }
        case CallKind::propertyText: {
            Text result;
            return SUCCEEDED(object.readPropertyText(L"Member", arguments, result));
        }
        case CallKind::propertyNumber: {
            double result = 0;
            return SUCCEEDED(object.readPropertyNumber(L"Member", arguments, result));
        }
        case CallKind::methodForNumber: {
            double result = 0;
            return SUCCEEDED(object.callMethodForNumber(L"Member", arguments, result));
        }
        case CallKind::propertyWrite:
            return SUCCEEDED(object.writeProperty(L"Member", arguments));
        }
        return false;
    }

    ComPtr<ScriptedObject> target = ScriptedObject::make();
};

struct FallbackCase {
    CallKind kind;
    WORD memberBindsTo;
    std::vector<WORD> expectedTries;
    bool expectedSuccess;
};

const char* kindName(CallKind kind)
{
    switch (kind) {
    case CallKind::methodForObject:
        return "methodForObject";
    case CallKind::propertyText:
        return "propertyText";
    case CallKind::propertyNumber:
        return "propertyNumber";
    case CallKind::methodForNumber:
        return "methodForNumber";
    case CallKind::propertyWrite:
        return "propertyWrite";
    }
    return "?";
}

const char* dispatchName(WORD flags)
{
    switch (flags) {
    case method:
        return "method";
    case get:
        return "get";
    case put:
        return "put";
    case putRef:
        return "putRef";
    default:
        return "none";
    }
}

// The call kind, the one dispatch kind the member binds to, what is tried.
void PrintTo(const FallbackCase& c, std::ostream* out)
{
    *out << kindName(c.kind) << ", member binds to " << dispatchName(c.memberBindsTo) << ", tries";
    for (WORD tried : c.expectedTries) *out << ' ' << dispatchName(tried);
    *out << (c.expectedSuccess ? ", succeeds" : ", fails");
}

class AutomationFallbackTest : public AutomationTest, public ::testing::WithParamInterface<FallbackCase> {};

// A member that answers only the kinds it was given makes each call kind
// walk its order up to the first kind that binds, and no further.
TEST_P(AutomationFallbackTest, TriesDispatchKindsInOrderUntilOneBinds)
{
    const FallbackCase& testCase = GetParam();
    // A result the call kind can take, so binding decides the outcome.
    const bool wantsObject = testCase.kind == CallKind::methodForObject;
    target->addMember(L"Member", testCase.memberBindsTo,
                      wantsObject ? unittest::answerObject(ScriptedObject::make()) : unittest::answerNumber(1));
    EXPECT_EQ(call(testCase.kind), testCase.expectedSuccess);
    EXPECT_EQ(target->kindsTried(L"Member"), testCase.expectedTries);
}

const WORD none = 0;

INSTANTIATE_TEST_SUITE_P(
    CallKinds, AutomationFallbackTest,
    ::testing::Values(
        FallbackCase{CallKind::methodForObject, method, {method}, true},
        FallbackCase{CallKind::methodForObject, get, {method, get}, true},
        // A write gives no object back, so the call fails although it bound.
        FallbackCase{CallKind::methodForObject, put, {method, get, put}, false},
        FallbackCase{CallKind::methodForObject, putRef, {method, get, put, putRef}, false},
        FallbackCase{CallKind::methodForObject, none, {method, get, put, putRef}, false},
        FallbackCase{CallKind::propertyText, get, {get}, true},
        FallbackCase{CallKind::propertyText, method, {get, method}, true},
        FallbackCase{CallKind::propertyText, put, {get, method}, false},
        FallbackCase{CallKind::propertyNumber, get, {get}, true},
        FallbackCase{CallKind::propertyNumber, put, {get, method}, false},
        FallbackCase{CallKind::methodForNumber, putRef, {method, get, put, putRef}, true},
        FallbackCase{CallKind::methodForNumber, none, {method, get, put, putRef}, false},
        FallbackCase{CallKind::propertyWrite, put, {put}, true},
        FallbackCase{CallKind::propertyWrite, putRef, {put, putRef}, true},
        FallbackCase{CallKind::propertyWrite, method, {put, putRef, method}, true},
        FallbackCase{CallKind::propertyWrite, get, {put, putRef, method}, false}));

TEST_F(AutomationTest, PropertyWritePassesNameThenValueWithTheValueNamedAsPropertyPut)
{
    target->addMember(L"Item", put);
    ASSERT_EQ(reference().writeProperty(L"Item", {"NAME", "value"}), S_OK);
    ASSERT_EQ(target->calls().size(), 1u);
    const RecordedCall& write = target->calls()[0];
    EXPECT_EQ(write.arguments, (std::vector<std::wstring>{L"NAME", L"value"}));
    EXPECT_EQ(write.namedArguments, std::vector<DISPID>{DISPID_PROPERTYPUT});
    EXPECT_EQ(write.locale, GetUserDefaultLCID());
}

TEST_F(AutomationTest, PropertyWriteFallingBackToMethodPassesPlainArguments)
{
    target->addMember(L"Item", method);
    ASSERT_EQ(reference().writeProperty(L"Item", {"NAME", "value"}), S_OK);
    const RecordedCall& methodCall = target->calls().back();
    EXPECT_EQ(methodCall.kind, method);
    EXPECT_EQ(methodCall.arguments, (std::vector<std::wstring>{L"NAME", L"value"}));
    EXPECT_TRUE(methodCall.namedArguments.empty());
}

TEST_F(AutomationTest, EmptyTextTravelsAsEmptyString)
{
    target->addMember(L"Item", put);
    ASSERT_EQ(reference().writeProperty(L"Item", {"NAME", ""}), S_OK);
    EXPECT_EQ(target->calls().back().arguments, (std::vector<std::wstring>{L"NAME", L""}));
}

// Texts are in the active ANSI code page (936 in the test prefix) both ways.
TEST_F(AutomationTest, TextsAreConvertedFromAndToTheAnsiCodePage)
{
    ASSERT_EQ(GetACP(), 936u);
    target->addMember(L"Item", get, unittest::answerText(L"\u4E2D\u6587\\bin"));
    Text value;
    ASSERT_EQ(reference().readPropertyText(L"Item", {"\xD6\xD0\xCE\xC4"}, value), S_OK);
    EXPECT_EQ(target->calls().back().arguments, std::vector<std::wstring>{L"\u4E2D\u6587"});
    EXPECT_EQ(value, "\xD6\xD0\xCE\xC4\\bin");
}

TEST_F(AutomationTest, NonStringPropertyIsReadInItsStringForm)
{
    target->addMember(L"Item", get, unittest::answerNumber(42));
    Text value;
    ASSERT_EQ(reference().readPropertyText(L"Item", {}, value), S_OK);
    EXPECT_EQ(value, "42");
}

TEST_F(AutomationTest, NumbersAreReadFromNumbersAndNumericStrings)
{
    target->addMember(L"length", get, unittest::answerNumber(12.75));
    target->addMember(L"Remove", method, unittest::answerText(L"-3.5"));
    double length = 0;
    double removed = 0;
    EXPECT_EQ(reference().readPropertyNumber(L"length", {}, length), S_OK);
    EXPECT_EQ(reference().callMethodForNumber(L"Remove", {"X"}, removed), S_OK);
    EXPECT_DOUBLE_EQ(length, 12.75);
    EXPECT_DOUBLE_EQ(removed, -3.5);
}

TEST_F(AutomationTest, MethodThatReturnsNothingCountsAsZero)
{
    target->addMember(L"Remove", method);
    double removed = 99;
    EXPECT_EQ(reference().callMethodForNumber(L"Remove", {"X"}, removed), S_OK);
    EXPECT_EQ(removed, 0.0);
}

TEST_F(AutomationTest, ObjectResultHoldsTheReturnedObjectAndReleasesIt)
{
    ComPtr<ScriptedObject> collection = ScriptedObject::make();
    collection->addMember(L"length", get, unittest::answerNumber(5));
    target->addMember(L"Environment", method, unittest::answerObject(collection));
    const ULONG referencesBefore = collection->references();
    {
        AutomationObject environment;
        ASSERT_EQ(reference().callMethodForObject(L"Environment", {"system"}, environment), S_OK);
        ASSERT_FALSE(environment.empty());
        double length = 0;
        EXPECT_EQ(environment.readPropertyNumber(L"length", {}, length), S_OK);
        EXPECT_EQ(length, 5.0);
        EXPECT_EQ(collection->references(), referencesBefore + 1);
    }
    EXPECT_EQ(collection->references(), referencesBefore);
    EXPECT_EQ(target->calls().back().arguments, std::vector<std::wstring>{L"system"});
}

// Each call kind leaves its failure value when the member fails.
TEST_F(AutomationTest, FailedCallsLeaveTheirFailureValues)
{
    target->addMember(L"Broken", method | get | put | putRef, unittest::answerFailure(E_ACCESSDENIED));
    const AutomationObject object = reference();
    AutomationObject objectResult = reference();
    Text text = "old";
    double number = 7;
    double methodNumber = 7;
    EXPECT_EQ(object.callMethodForObject(L"Broken", {}, objectResult), E_ACCESSDENIED);
    EXPECT_EQ(object.readPropertyText(L"Broken", {}, text), E_ACCESSDENIED);
    EXPECT_EQ(object.readPropertyNumber(L"Broken", {}, number), E_ACCESSDENIED);
    EXPECT_EQ(object.callMethodForNumber(L"Broken", {}, methodNumber), E_ACCESSDENIED);
    EXPECT_EQ(object.writeProperty(L"Broken", {"N", "v"}), E_ACCESSDENIED);
    EXPECT_TRUE(objectResult.empty());
    EXPECT_EQ(text, "");
    EXPECT_EQ(number, 0.0);
    EXPECT_EQ(methodNumber, 0.0);
}

TEST_F(AutomationTest, UnknownMemberFailsWithoutInvoking)
{
    Text text = "old";
    EXPECT_EQ(reference().readPropertyText(L"Missing", {}, text), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(text, "");
    EXPECT_TRUE(target->calls().empty());
}

TEST_F(AutomationTest, EmptyReferenceFailsEveryCall)
{
    const AutomationObject empty;
    Text text = "old";
    double number = 1;
    AutomationObject object;
    EXPECT_TRUE(FAILED(empty.readPropertyText(L"Item", {"X"}, text)));
    EXPECT_TRUE(FAILED(empty.readPropertyNumber(L"length", {}, number)));
    EXPECT_TRUE(FAILED(empty.callMethodForObject(L"Environment", {"user"}, object)));
    EXPECT_TRUE(FAILED(empty.writeProperty(L"Item", {"X", "y"})));
    EXPECT_EQ(text, "");
    EXPECT_EQ(number, 0.0);
}

// An object that answers no IDispatch cannot be called by name.
TEST_F(AutomationTest, ObjectWithoutDispatchFailsTheCall)
{
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    const AutomationObject object(stream.as<IUnknown>());
    Text text;
    EXPECT_EQ(object.readPropertyText(L"Item", {"X"}, text), E_NOINTERFACE);
}

TEST_F(AutomationTest, CreationOfAnUnknownProgIdFails)
{
    AutomationObject created;
    EXPECT_TRUE(FAILED(AutomationObject::create(L"Zovrel.NoSuchObject", created)));
    EXPECT_TRUE(created.empty());
}

TEST_F(AutomationTest, CreationReachesAClassRegisteredInTheProcess)
{
    const unittest::ClassStandIn standIn(L"WScript.Shell", target);
    ASSERT_TRUE(standIn.registered());
    AutomationObject created;
    ASSERT_EQ(AutomationObject::create(L"WScript.Shell", created), S_OK);
    EXPECT_EQ(created.get(), static_cast<IUnknown*>(static_cast<IDispatch*>(target.get())));
}

}  // namespace
