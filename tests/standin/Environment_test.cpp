// The collections read and change the registry scopes the way the real
// object does: values unexpanded, REG_EXPAND_SZ only for a %NAME% reference.

#include "tests/standin/StandInFixture.h"
#include "tests/support/ParamPrint.h"

#include <string>

using namespace standin_test;
using testsupport::StoredValue;

namespace {

struct WriteCase {
    const wchar_t* value;
    DWORD storedType;
};

void PrintTo(const WriteCase& c, std::ostream* out)
{
    *out << testsupport::brief(c.value) << " as " << testsupport::registryTypeName(c.storedType);
}

class ItemWriteTest : public StandInTest, public ::testing::WithParamInterface<WriteCase> {
};

TEST_P(ItemWriteTest, StoresTheValueWithTheTypeItsReferencesCallFor)
{
    ComPtr<IDispatch> user = collection(L"user");
    ASSERT_TRUE(user);
    ASSERT_EQ(S_OK, writeItem(user.get(), scratchA, GetParam().value));
    EXPECT_EQ(StoredValue({GetParam().storedType, GetParam().value}),
              testsupport::readValue(testsupport::userEnvironment, scratchA));
    std::wstring readBack;
    EXPECT_EQ(S_OK, readItem(user.get(), scratchA, readBack));
    EXPECT_EQ(GetParam().value, readBack) << "read back unexpanded";
}

INSTANTIATE_TEST_SUITE_P(
    References, ItemWriteTest,
    ::testing::Values(WriteCase{L"C:\\Program Files\\Java\\jdk1.8", REG_SZ},
                      WriteCase{L"%JAVA_HOME%\\jre", REG_EXPAND_SZ},
                      WriteCase{L"%SystemRoot%\\system32;C:\\工具;%JAVA_HOME%\\bin", REG_EXPAND_SZ},
                      WriteCase{L"a%b%c", REG_EXPAND_SZ}, WriteCase{L"100%", REG_SZ}, WriteCase{L"%%", REG_SZ},
                      WriteCase{L"50%%", REG_SZ}, WriteCase{L"%", REG_SZ}, WriteCase{L"", REG_SZ}));

TEST_F(StandInTest, TheScopeTypeIgnoresCase)
{
    struct {
        const wchar_t* type;
        const testsupport::RegistryLocation& location;
    } const scopes[] = {{L"user", testsupport::userEnvironment},     {L"USER", testsupport::userEnvironment},
                        {L"User", testsupport::userEnvironment},     {L"system", testsupport::systemEnvironment},
                        {L"SYSTEM", testsupport::systemEnvironment}, {L"sYsTeM", testsupport::systemEnvironment}};
    for (const auto& scope : scopes) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(scope.type)));
        ComPtr<IDispatch> environment = collection(scope.type);
        ASSERT_TRUE(environment);
        ASSERT_EQ(S_OK, writeItem(environment.get(), scratchA, scope.type));
        EXPECT_EQ(StoredValue({REG_SZ, scope.type}), testsupport::readValue(scope.location, scratchA));
        ASSERT_EQ(ERROR_SUCCESS, testsupport::deleteValue(scope.location, scratchA));
    }
}

TEST_F(StandInTest, WithoutATypeTheMachineScopeIsMeant)
{
    Arguments leftOut;
    leftOut.missing();
    Arguments none;
    for (const Arguments* arguments : {&leftOut, &none}) {
        UniqueVariant result;
        ASSERT_EQ(S_OK, call(shell_.get(), L"Environment", DISPATCH_PROPERTYGET, *arguments, result.get()));
        ASSERT_EQ(VT_DISPATCH, result.get()->vt);
        ASSERT_EQ(S_OK, writeItem(result.get()->pdispVal, scratchA, L"machine"));
        EXPECT_EQ(StoredValue({REG_SZ, L"machine"}), testsupport::readValue(testsupport::systemEnvironment, scratchA));
        ASSERT_EQ(ERROR_SUCCESS, testsupport::deleteValue(testsupport::systemEnvironment, scratchA));
    }
}

TEST_F(StandInTest, AnUnknownScopeTypeIsAnInvalidArgument)
{
    for (const wchar_t* type : {L"process", L"users", L"", L"machine"}) {
        UniqueVariant result;
        EXPECT_EQ(E_INVALIDARG, call(shell_.get(), L"Environment", DISPATCH_PROPERTYGET, Arguments().text(type),
                                     result.get()))
            << testing::PrintToString(std::wstring(type));
        EXPECT_EQ(VT_EMPTY, result.get()->vt);
    }
}

TEST_F(StandInTest, ArgumentsOfOtherTypesAreTakenAsText)
{
    ComPtr<IDispatch> user = collection(L"user");
    ASSERT_TRUE(user);
    ASSERT_EQ(S_OK, call(user.get(), L"Item", DISPATCH_PROPERTYPUT,
                         Arguments().textByReference(scratchA).number(1234), nullptr));
    EXPECT_EQ(StoredValue({REG_SZ, L"1234"}), testsupport::readValue(testsupport::userEnvironment, scratchA));

    UniqueVariant result;
    ASSERT_EQ(S_OK, call(user.get(), L"Item", DISPATCH_PROPERTYGET, Arguments().textByReference(scratchA),
                         result.get()));
    ASSERT_EQ(VT_BSTR, result.get()->vt);
    EXPECT_STREQ(L"1234", result.get()->bstrVal);
}

TEST_F(StandInTest, AnAbsentNameReadsEmptyAndRemovesWithoutComplaint)
{
    ComPtr<IDispatch> system = collection(L"system");
    ASSERT_TRUE(system);
    std::wstring value = L"not read";
    EXPECT_EQ(S_OK, readItem(system.get(), scratchA, value));
    EXPECT_EQ(L"", value);

    UniqueVariant result;
    EXPECT_EQ(S_OK, call(system.get(), L"Remove", DISPATCH_METHOD, Arguments().text(scratchA), result.get()));
    EXPECT_EQ(VT_EMPTY, result.get()->vt);
}

TEST_F(StandInTest, RemoveDeletesOnlyFromItsScope)
{
    const StoredValue stored{REG_EXPAND_SZ, L"%SystemRoot%"};
    ASSERT_EQ(ERROR_SUCCESS, testsupport::writeValue(testsupport::userEnvironment, scratchA, stored));
    ASSERT_EQ(ERROR_SUCCESS, testsupport::writeValue(testsupport::systemEnvironment, scratchA, stored));
    ComPtr<IDispatch> system = collection(L"system");
    ASSERT_TRUE(system);
    EXPECT_EQ(S_OK, removeItem(system.get(), scratchA));
    EXPECT_FALSE(testsupport::readValue(testsupport::systemEnvironment, scratchA).has_value());
    EXPECT_EQ(stored, testsupport::readValue(testsupport::userEnvironment, scratchA));
}

TEST_F(StandInTest, LengthAndCountAreTheNumberOfValuesInTheScope)
{
    ComPtr<IDispatch> user = collection(L"user");
    ASSERT_TRUE(user);
    ASSERT_EQ(ERROR_SUCCESS, testsupport::writeValue(testsupport::userEnvironment, scratchA, StoredValue{REG_SZ, L"a"}));
    ASSERT_EQ(ERROR_SUCCESS, testsupport::writeValue(testsupport::userEnvironment, scratchB, StoredValue{REG_SZ, L"b"}));
    const long expected = static_cast<long>(testsupport::valueNames(testsupport::userEnvironment).size());
    ASSERT_GE(expected, 2);
    for (const auto& [name, flags] : {std::pair{L"length", DISPATCH_PROPERTYGET}, std::pair{L"Count", DISPATCH_METHOD}}) {
        UniqueVariant result;
        ASSERT_EQ(S_OK, call(user.get(), name, static_cast<WORD>(flags), Arguments(), result.get()));
        ASSERT_EQ(VT_I4, result.get()->vt);
        EXPECT_EQ(expected, result.get()->lVal) << testing::PrintToString(std::wstring(name));
    }
}

}  // namespace
