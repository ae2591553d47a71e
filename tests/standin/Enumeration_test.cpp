// "_NewEnum" gives an IEnumVARIANT over a snapshot of "NAME=value" entries.

#include "tests/standin/StandInFixture.h"

#include <algorithm>
#include <string>

using namespace standin_test;
using testsupport::StoredValue;

namespace {

class EnumerationTest : public StandInTest {
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        ASSERT_EQ(ERROR_SUCCESS,
                  testsupport::writeValue(testsupport::userEnvironment, scratchA, StoredValue{REG_EXPAND_SZ, L"%TEMP%\\甲"}));
        ASSERT_EQ(ERROR_SUCCESS, testsupport::writeValue(testsupport::userEnvironment, scratchB, StoredValue{REG_SZ, L""}));
        user_ = collection(L"user");
        ASSERT_TRUE(user_);
    }

    // What the scope holds, as the enumerator should give it.
    static std::vector<std::wstring> expectedEntries()
    {
        std::vector<std::wstring> entries;
        for (const std::wstring& name : testsupport::valueNames(testsupport::userEnvironment))
            entries.push_back(name + L"=" + testsupport::readValue(testsupport::userEnvironment, name)->data);
        return entries;
    }

    ComPtr<IDispatch> user_;
};

TEST_F(EnumerationTest, GivesOneUnexpandedEntryPerValue)
{
    ComPtr<IEnumVARIANT> enumerator;
    ASSERT_EQ(S_OK, enumeratorOf(user_.get(), enumerator));
    std::vector<std::wstring> entries;
    EXPECT_EQ(S_FALSE, drainTexts(enumerator.get(), entries));
    EXPECT_EQ(expectedEntries(), entries);
    EXPECT_NE(entries.end(), std::find(entries.begin(), entries.end(), std::wstring(scratchA) + L"=%TEMP%\\甲"));
    EXPECT_NE(entries.end(), std::find(entries.begin(), entries.end(), std::wstring(scratchB) + L"="));
}

TEST_F(EnumerationTest, IsASnapshotOfTheScopeWhenMade)
{
    const std::vector<std::wstring> before = expectedEntries();
    ComPtr<IEnumVARIANT> enumerator;
    ASSERT_EQ(S_OK, enumeratorOf(user_.get(), enumerator));
    ASSERT_EQ(S_OK, removeItem(user_.get(), scratchA));
    std::vector<std::wstring> entries;
    drainTexts(enumerator.get(), entries);
    EXPECT_EQ(before, entries);
}

TEST_F(EnumerationTest, NextForMoreThanRemainsGivesTheRestAndSFalse)
{
    const std::vector<std::wstring> expected = expectedEntries();
    ComPtr<IEnumVARIANT> enumerator;
    ASSERT_EQ(S_OK, enumeratorOf(user_.get(), enumerator));
    const ULONG asked = static_cast<ULONG>(expected.size() + 2);
    std::vector<VARIANT> items(asked);
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, enumerator->Next(asked, items.data(), &fetched));
    ASSERT_EQ(expected.size(), fetched);
    for (ULONG index = 0; index < asked; ++index) {
        UniqueVariant item;
        *item.get() = items[index];  // the owner frees what Next delivered
        if (index < fetched) {
            ASSERT_EQ(VT_BSTR, item.get()->vt);
            EXPECT_EQ(expected[index], item.get()->bstrVal);
        } else {
            EXPECT_EQ(VT_EMPTY, item.get()->vt);
        }
    }
    EXPECT_EQ(S_FALSE, enumerator->Next(1, items.data(), &fetched));
    EXPECT_EQ(0u, fetched);
}

TEST_F(EnumerationTest, SkipResetAndCloneKeepTheirPlace)
{
    const std::vector<std::wstring> expected = expectedEntries();
    ASSERT_GE(expected.size(), 2u);
    ComPtr<IEnumVARIANT> enumerator;
    ASSERT_EQ(S_OK, enumeratorOf(user_.get(), enumerator));

    EXPECT_EQ(S_OK, enumerator->Skip(1));
    ComPtr<IEnumVARIANT> clone;
    ASSERT_EQ(S_OK, enumerator->Clone(clone.put()));
    std::vector<std::wstring> fromClone;
    drainTexts(clone.get(), fromClone);
    EXPECT_EQ(std::vector<std::wstring>(expected.begin() + 1, expected.end()), fromClone);

    std::vector<std::wstring> fromOriginal;
    drainTexts(enumerator.get(), fromOriginal);
    EXPECT_EQ(fromClone, fromOriginal) << "the clone moved on by itself";

    EXPECT_EQ(S_OK, enumerator->Reset());
    EXPECT_EQ(S_FALSE, enumerator->Skip(static_cast<ULONG>(expected.size() + 1)));
    EXPECT_EQ(S_OK, enumerator->Reset());
    std::vector<std::wstring> again;
    drainTexts(enumerator.get(), again);
    EXPECT_EQ(expected, again);
}

}  // namespace
