// The DLL as COM sees it: registered per machine with its own path, entry
// points exported undecorated, and unloadable exactly when no object lives.

#include "tests/standin/StandInClsid.h"
#include "tests/standin/StandInFixture.h"

#include <objbase.h>

#include <optional>
#include <string>

using namespace standin_test;

namespace {

std::wstring classKey()
{
    wchar_t clsid[40] = {};
    StringFromGUID2(standin::shellStandInClsid, clsid, 40);
    return std::wstring(L"Software\\Classes\\CLSID\\") + clsid + L"\\InprocServer32";
}

class ModuleTest : public StandInTest {
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        const std::wstring key = classKey();
        server_ = testsupport::readValue({HKEY_LOCAL_MACHINE, key.c_str()}, L"");
        threading_ = testsupport::readValue({HKEY_LOCAL_MACHINE, key.c_str()}, L"ThreadingModel");
        ASSERT_TRUE(server_.has_value()) << "InprocServer32 missing";
        module_ = GetModuleHandleW(server_->data.c_str());
        ASSERT_NE(nullptr, module_) << "the registered DLL is not the one COM loaded";
    }

    std::optional<testsupport::StoredValue> server_;
    std::optional<testsupport::StoredValue> threading_;
    HMODULE module_ = nullptr;
};

TEST_F(ModuleTest, IsRegisteredAsAnApartmentServerWithUndecoratedExports)
{
    EXPECT_EQ(testsupport::StoredValue({REG_SZ, L"Apartment"}), threading_);
    for (const char* name : {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_NE(nullptr, GetProcAddress(module_, name)) << name;
}

TEST_F(ModuleTest, CanUnloadOnlyWhenEveryObjectIsReleased)
{
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    const auto canUnloadNow = reinterpret_cast<CanUnload>(GetProcAddress(module_, "DllCanUnloadNow"));
    ASSERT_NE(nullptr, canUnloadNow);

    ComPtr<IDispatch> user = collection(L"user");
    ComPtr<IEnumVARIANT> enumerator;
    ASSERT_EQ(S_OK, enumeratorOf(user.get(), enumerator));
    shell_.reset();
    user.reset();
    EXPECT_EQ(S_FALSE, canUnloadNow()) << "the enumerator still lives";
    ComPtr<IEnumVARIANT> clone;
    ASSERT_EQ(S_OK, enumerator->Clone(clone.put()));
    enumerator.reset();
    EXPECT_EQ(S_FALSE, canUnloadNow()) << "the clone still lives";
    clone.reset();
    EXPECT_EQ(S_OK, canUnloadNow());
}

}  // namespace
