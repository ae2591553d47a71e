// Each test switch changes the stand-in as its name says, and only while it
// is set.

#include "tests/standin/StandInClsid.h"
#include "tests/standin/StandInFixture.h"
#include "tests/support/StandInSwitch.h"

#include <string>

using namespace standin_test;
using testsupport::StandInSwitch;
using testsupport::StoredValue;

namespace {

TEST_F(StandInTest, UnavailableRefusesCreationEvenThroughAnEarlierFactory)
{
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, CoGetClassObject(standin::shellStandInClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                     factory.putVoid()));
    {
        StandInSwitch unavailable(standin::unavailable);
        ComPtr<IDispatch> shell;
        // The ProgID is gone, as for an unregistered object; the class itself
        // refuses too, by its id and through a factory obtained before.
        EXPECT_EQ(CO_E_CLASSSTRING, createShell(shell));
        EXPECT_FALSE(shell);
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, CoCreateInstance(standin::shellStandInClsid, nullptr,
                                                              CLSCTX_INPROC_SERVER, IID_IDispatch, shell.putVoid()));
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, factory->CreateInstance(nullptr, IID_IDispatch, shell.putVoid()));
    }
    ComPtr<IDispatch> shell;
    EXPECT_EQ(S_OK, createShell(shell));
    EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, shell.putVoid()));
}

TEST_F(StandInTest, RefusedSystemWritesLeaveTheMachineScopeAlone)
{
    const StoredValue stored{REG_SZ, L"kept"};
    ASSERT_EQ(ERROR_SUCCESS, testsupport::writeValue(testsupport::systemEnvironment, scratchA, stored));
    ComPtr<IDispatch> system = collection(L"system");
    ComPtr<IDispatch> user = collection(L"user");
    ASSERT_TRUE(system && user);
    StandInSwitch refuse(standin::refuseSystemWrites);

    EXPECT_EQ(E_ACCESSDENIED, writeItem(system.get(), scratchA, L"changed"));
    EXPECT_EQ(E_ACCESSDENIED, writeItem(system.get(), scratchB, L"new"));
    EXPECT_EQ(E_ACCESSDENIED, removeItem(system.get(), scratchA));
    EXPECT_EQ(stored, testsupport::readValue(testsupport::systemEnvironment, scratchA));
    EXPECT_FALSE(testsupport::readValue(testsupport::systemEnvironment, scratchB).has_value());

    std::wstring value;
    EXPECT_EQ(S_OK, readItem(system.get(), scratchA, value));
    EXPECT_EQ(L"kept", value);
    EXPECT_EQ(S_OK, writeItem(user.get(), scratchA, L"user writes still work"));
}

class EnumerationSwitchTest : public StandInTest {
protected:
    ComPtr<IEnumVARIANT> newEnumerator()
    {
        ComPtr<IDispatch> user = collection(L"user");
        ComPtr<IEnumVARIANT> enumerator;
        EXPECT_EQ(S_OK, enumeratorOf(user.get(), enumerator));
        return enumerator;
    }

    static std::wstring nextText(IEnumVARIANT* enumerator)
    {
        UniqueVariant item;
        ULONG fetched = 0;
        if (enumerator->Next(1, item.get(), &fetched) != S_OK || item.get()->vt != VT_BSTR) return L"<no text>";
        return item.get()->bstrVal;
    }

    // The entries the scope gives with no switch set.
    std::vector<std::wstring> plainEntries()
    {
        std::vector<std::wstring> entries;
        drainTexts(newEnumerator().get(), entries);
        return entries;
    }

    // Takes the first item of a new enumerator into `item`; the entries the
    // scope gives with no switch set must follow it, all of them and no more.
    void takeFirstItemBeforeTheEntries(UniqueVariant& item)
    {
        ComPtr<IEnumVARIANT> enumerator = newEnumerator();
        ASSERT_TRUE(enumerator);
        ULONG fetched = 0;
        ASSERT_EQ(S_OK, enumerator->Next(1, item.get(), &fetched));
        std::vector<std::wstring> rest;
        EXPECT_EQ(S_FALSE, drainTexts(enumerator.get(), rest));
        EXPECT_EQ(entries_, rest);
    }

    void SetUp() override
    {
        StandInTest::SetUp();
        ASSERT_EQ(ERROR_SUCCESS, testsupport::writeValue(testsupport::userEnvironment, scratchA, StoredValue{REG_SZ, L"1"}));
        ASSERT_EQ(ERROR_SUCCESS, testsupport::writeValue(testsupport::userEnvironment, scratchB, StoredValue{REG_SZ, L"2"}));
        entries_ = plainEntries();
        ASSERT_GE(entries_.size(), 2u);
    }

    std::vector<std::wstring> entries_;
};

TEST_F(EnumerationSwitchTest, ANonStringItemComesFirst)
{
    StandInSwitch nonString(standin::enumNonStringItem);
    UniqueVariant item;
    ASSERT_NO_FATAL_FAILURE(takeFirstItemBeforeTheEntries(item));
    ASSERT_EQ(VT_I4, item.get()->vt);
    EXPECT_EQ(standin::nonStringItemValue, item.get()->lVal);
}

TEST_F(EnumerationSwitchTest, AnArrayItemComesFirst)
{
    StandInSwitch array(standin::enumArrayItem);
    UniqueVariant item;
    ASSERT_NO_FATAL_FAILURE(takeFirstItemBeforeTheEntries(item));
    ASSERT_EQ(VT_ARRAY | VT_BSTR, item.get()->vt);
    LONG lower = -1;
    LONG upper = -1;
    ASSERT_EQ(S_OK, SafeArrayGetLBound(item.get()->parray, 1, &lower));
    ASSERT_EQ(S_OK, SafeArrayGetUBound(item.get()->parray, 1, &upper));
    EXPECT_EQ(2, upper - lower + 1);
}

TEST_F(EnumerationSwitchTest, NextFailsOnceTheGivenNumberIsDelivered)
{
    StandInSwitch failAfter(standin::failNextAfter, 1);
    ComPtr<IEnumVARIANT> enumerator = newEnumerator();
    ASSERT_TRUE(enumerator);
    EXPECT_EQ(entries_[0], nextText(enumerator.get()));
    UniqueVariant item;
    ULONG fetched = 7;
    EXPECT_EQ(E_FAIL, enumerator->Next(1, item.get(), &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(VT_EMPTY, item.get()->vt);
}

TEST_F(EnumerationSwitchTest, FailNextAfterZeroFailsTheFirstNext)
{
    StandInSwitch failAfter(standin::failNextAfter, 0);
    ComPtr<IEnumVARIANT> enumerator = newEnumerator();
    ASSERT_TRUE(enumerator);
    UniqueVariant item;
    ULONG fetched = 0;
    EXPECT_EQ(E_FAIL, enumerator->Next(1, item.get(), &fetched));
}

TEST_F(EnumerationSwitchTest, NewEnumCanFailLikeWinesOwnObject)
{
    StandInSwitch failNewEnum(standin::failNewEnum);
    ComPtr<IDispatch> user = collection(L"user");
    UniqueVariant result;
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, call(user.get(), L"_NewEnum", DISPATCH_METHOD, Arguments(), result.get()));
    EXPECT_EQ(VT_EMPTY, result.get()->vt);
}

TEST_F(EnumerationSwitchTest, NewEnumCanReturnSomethingThatIsNoEnumerator)
{
    StandInSwitch notAnEnumerator(standin::notAnEnumerator);
    ComPtr<IDispatch> user = collection(L"user");
    UniqueVariant result;
    ASSERT_EQ(S_OK, call(user.get(), L"_NewEnum", DISPATCH_METHOD, Arguments(), result.get()));
    ASSERT_EQ(VT_UNKNOWN, result.get()->vt);
    ComPtr<IEnumVARIANT> enumerator;
    EXPECT_EQ(E_NOINTERFACE, result.get()->punkVal->QueryInterface(IID_IEnumVARIANT, enumerator.putVoid()));
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, result.get()->punkVal->QueryInterface(IID_IUnknown, unknown.putVoid()));
}

TEST_F(EnumerationSwitchTest, WithNoSwitchTheEntriesAreAllThereIs)
{
    std::vector<std::wstring> entries;
    EXPECT_EQ(S_FALSE, drainTexts(newEnumerator().get(), entries));
    EXPECT_EQ(testsupport::valueNames(testsupport::userEnvironment).size(), entries.size());
}

}  // namespace
