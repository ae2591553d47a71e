// The stand-in is found by ProgID like the real object, answers names
// without regard to case with the real DISPIDs, and refuses a call of a
// dispatch kind its member does not declare.

#include "tests/standin/StandInClsid.h"
#include "tests/standin/StandInFixture.h"
#include "tests/support/ParamPrint.h"

#include <string>

using namespace standin_test;

namespace {

TEST_F(StandInTest, IsWhatTheProgIdNamesAndOffersNoTypeInformation)
{
    CLSID clsid;
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"WScript.Shell", &clsid));
    EXPECT_TRUE(IsEqualCLSID(standin::shellStandInClsid, clsid));
    UINT count = 1;
    EXPECT_EQ(S_OK, shell_->GetTypeInfoCount(&count));
    EXPECT_EQ(0u, count);
}

struct NameCase {
    bool onCollection;
    const wchar_t* name;
    DISPID expected;
};

void PrintTo(const NameCase& c, std::ostream* out)
{
    *out << (c.onCollection ? "collection " : "shell ") << testsupport::brief(c.name) << " is " << c.expected;
}

class MemberNameTest : public StandInTest, public ::testing::WithParamInterface<NameCase> {
};

TEST_P(MemberNameTest, HasTheTypeLibraryDispid)
{
    ComPtr<IDispatch> object = GetParam().onCollection ? collection(L"user") : shell_;
    ASSERT_TRUE(object);
    DISPID id = 12345;
    EXPECT_EQ(S_OK, idOf(object.get(), GetParam().name, id));
    EXPECT_EQ(GetParam().expected, id);
}

INSTANTIATE_TEST_SUITE_P(AnyCase, MemberNameTest,
                         ::testing::Values(NameCase{false, L"Environment", 0xC8},
                                           NameCase{false, L"ENVIRONMENT", 0xC8},
                                           NameCase{true, L"Item", DISPID_VALUE}, NameCase{true, L"item", DISPID_VALUE},
                                           NameCase{true, L"Count", 1}, NameCase{true, L"length", 2},
                                           NameCase{true, L"Length", 2}, NameCase{true, L"_NewEnum", DISPID_NEWENUM},
                                           NameCase{true, L"_newenum", DISPID_NEWENUM},
                                           NameCase{true, L"Remove", 0x3E9}, NameCase{true, L"REMOVE", 0x3E9}));

TEST_F(StandInTest, UnknownNamesAreRefused)
{
    ComPtr<IDispatch> user = collection(L"user");
    ASSERT_TRUE(user);
    for (const auto& [object, name] : {std::pair{shell_.get(), L"Item"}, std::pair{shell_.get(), L"Run"},
                                       std::pair{user.get(), L"Environment"}, std::pair{user.get(), L"Items"}}) {
        DISPID id = 0;
        EXPECT_EQ(DISP_E_UNKNOWNNAME, idOf(object, name, id)) << testing::PrintToString(std::wstring(name));
    }
}

struct KindCase {
    const char* label;
    bool onCollection;
    const wchar_t* name;
    WORD flags;
    int argumentCount;  // scratch name / value texts, or the scope type for Environment
    HRESULT expected;
};

void PrintTo(const KindCase& c, std::ostream* out)
{
    *out << (c.onCollection ? "collection " : "shell ") << testsupport::brief(c.name) << " flags "
         << c.flags << ", " << c.argumentCount << " arguments: " << testsupport::hex(c.expected);
}

const WORD methodOrGet = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

class DispatchKindTest : public StandInTest, public ::testing::WithParamInterface<KindCase> {
};

TEST_P(DispatchKindTest, DecidesTheCall)
{
    const KindCase& kind = GetParam();
    ComPtr<IDispatch> object = kind.onCollection ? collection(L"user") : shell_;
    ASSERT_TRUE(object);
    Arguments arguments;
    const wchar_t* texts[] = {kind.onCollection ? scratchA : L"user", L"value"};
    for (int index = 0; index < kind.argumentCount; ++index) arguments.text(texts[index]);
    UniqueVariant result;
    EXPECT_EQ(kind.expected, call(object.get(), kind.name, kind.flags, arguments, result.get()));
}

std::string kindLabel(const ::testing::TestParamInfo<KindCase>& kind)
{
    return kind.param.label;
}

INSTANTIATE_TEST_SUITE_P(
    TypeLibraryKinds, DispatchKindTest,
    ::testing::Values(KindCase{"EnvironmentAsMethod", false, L"Environment", DISPATCH_METHOD, 1, DISP_E_MEMBERNOTFOUND},
                      KindCase{"EnvironmentAsPut", false, L"Environment", DISPATCH_PROPERTYPUT, 2, DISP_E_MEMBERNOTFOUND},
                      KindCase{"EnvironmentAsGet", false, L"Environment", DISPATCH_PROPERTYGET, 1, S_OK},
                      KindCase{"EnvironmentAsMethodOrGet", false, L"Environment", methodOrGet, 1, S_OK},
                      KindCase{"ItemAsMethod", true, L"Item", DISPATCH_METHOD, 1, DISP_E_MEMBERNOTFOUND},
                      KindCase{"ItemWriteAsMethod", true, L"Item", DISPATCH_METHOD, 2, DISP_E_MEMBERNOTFOUND},
                      KindCase{"ItemAsPutRef", true, L"Item", DISPATCH_PROPERTYPUTREF, 2, DISP_E_MEMBERNOTFOUND},
                      KindCase{"ItemAsGet", true, L"Item", DISPATCH_PROPERTYGET, 1, S_OK},
                      KindCase{"ItemAsMethodOrGet", true, L"Item", methodOrGet, 1, S_OK},
                      KindCase{"ItemAsPut", true, L"Item", DISPATCH_PROPERTYPUT, 2, S_OK},
                      KindCase{"LengthAsMethod", true, L"length", DISPATCH_METHOD, 0, DISP_E_MEMBERNOTFOUND},
                      KindCase{"LengthAsPut", true, L"length", DISPATCH_PROPERTYPUT, 1, DISP_E_MEMBERNOTFOUND},
                      KindCase{"LengthAsGet", true, L"length", DISPATCH_PROPERTYGET, 0, S_OK},
                      KindCase{"CountAsGet", true, L"Count", DISPATCH_PROPERTYGET, 0, DISP_E_MEMBERNOTFOUND},
                      KindCase{"CountAsMethod", true, L"Count", DISPATCH_METHOD, 0, S_OK},
                      KindCase{"RemoveAsGet", true, L"Remove", DISPATCH_PROPERTYGET, 1, DISP_E_MEMBERNOTFOUND},
                      KindCase{"RemoveAsPut", true, L"Remove", DISPATCH_PROPERTYPUT, 2, DISP_E_MEMBERNOTFOUND},
                      KindCase{"RemoveAsPutRef", true, L"Remove", DISPATCH_PROPERTYPUTREF, 2, DISP_E_MEMBERNOTFOUND},
                      KindCase{"RemoveAsMethod", true, L"Remove", DISPATCH_METHOD, 1, S_OK},
                      KindCase{"NewEnumAsGet", true, L"_NewEnum", DISPATCH_PROPERTYGET, 0, DISP_E_MEMBERNOTFOUND},
                      KindCase{"NewEnumAsMethod", true, L"_NewEnum", DISPATCH_METHOD, 0, S_OK},
                      KindCase{"NewEnumAsMethodOrGet", true, L"_NewEnum", methodOrGet, 0, S_OK}),
    kindLabel);

TEST_F(StandInTest, AWriteWithoutTheNamedValueIsRefused)
{
    ComPtr<IDispatch> user = collection(L"user");
    ASSERT_TRUE(user);
    DISPID item = DISPID_UNKNOWN;
    ASSERT_EQ(S_OK, idOf(user.get(), L"Item", item));
    Arguments arguments;
    arguments.text(L"value").text(scratchA);  // last first, as Invoke takes them
    std::vector<VARIANT> values = arguments.values();
    DISPPARAMS params = {values.data(), nullptr, 2, 0};
    EXPECT_EQ(DISP_E_PARAMNOTFOUND,
              user->Invoke(item, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr));
    EXPECT_FALSE(testsupport::readValue(testsupport::userEnvironment, scratchA).has_value());
}

}  // namespace
