#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testsupport;

namespace {

const wchar_t* const scratchName = L"ZOVREL_SUPPORT_SCRATCH";

class SavedVariableTest : public ::testing::TestWithParam<bool> {
protected:
    const RegistryLocation& scope() const { return environmentOf(GetParam()); }
    SavedVariable guard_{scope(), scratchName};
};

TEST_P(SavedVariableTest, RestoresTypeAndTextOfAPresentValue)
{
    const StoredValue original{REG_EXPAND_SZ, L"%SystemRoot%\\测试;C:\\a b"};
    ASSERT_EQ(ERROR_SUCCESS, writeValue(scope(), scratchName, original));
    {
        SavedVariable saved(scope(), scratchName);
        ASSERT_EQ(ERROR_SUCCESS, writeValue(scope(), scratchName, StoredValue{REG_SZ, L"changed"}));
        ASSERT_EQ(StoredValue({REG_SZ, L"changed"}), readValue(scope(), scratchName));
    }
    EXPECT_EQ(original, readValue(scope(), scratchName));
}

TEST_P(SavedVariableTest, RemovesAValueThatWasAbsent)
{
    ASSERT_EQ(ERROR_SUCCESS, deleteValue(scope(), scratchName));
    {
        SavedVariable saved(scope(), scratchName);
        ASSERT_EQ(ERROR_SUCCESS, writeValue(scope(), scratchName, StoredValue{REG_SZ, L"new"}));
    }
    EXPECT_FALSE(readValue(scope(), scratchName).has_value());
}

TEST_P(SavedVariableTest, ListsAWrittenNameAndForgetsItAfterDeletion)
{
    ASSERT_EQ(ERROR_SUCCESS, writeValue(scope(), scratchName, StoredValue{REG_SZ, L""}));
    auto names = valueNames(scope());
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), scratchName));
    EXPECT_EQ(StoredValue({REG_SZ, L""}), readValue(scope(), scratchName));

    ASSERT_EQ(ERROR_SUCCESS, deleteValue(scope(), scratchName));
    names = valueNames(scope());
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), scratchName));
    EXPECT_EQ(ERROR_SUCCESS, deleteValue(scope(), scratchName)) << "deleting an absent value";
}

std::string scopeName(const ::testing::TestParamInfo<bool>& scope)
{
    return scope.param ? "User" : "System";
}

INSTANTIATE_TEST_SUITE_P(BothScopes, SavedVariableTest, ::testing::Values(true, false), scopeName);

}  // namespace
