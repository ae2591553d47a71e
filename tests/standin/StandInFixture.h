#pragma once
// A shell object of the stand-in for each test, COM for the thread, and the
// test's scratch variables saved in both scopes and put back afterwards.

#include "tests/standin/StandInClient.h"
#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace standin_test {

inline const wchar_t* const scratchA = L"ZOVREL_STANDIN_A";
inline const wchar_t* const scratchB = L"ZOVREL_STANDIN_B";

class StandInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const wchar_t* name : {scratchA, scratchB}) {
            saved_.push_back(std::make_unique<testsupport::SavedVariable>(testsupport::userEnvironment, name));
            saved_.push_back(std::make_unique<testsupport::SavedVariable>(testsupport::systemEnvironment, name));
            ASSERT_EQ(ERROR_SUCCESS, testsupport::deleteValue(testsupport::userEnvironment, name));
            ASSERT_EQ(ERROR_SUCCESS, testsupport::deleteValue(testsupport::systemEnvironment, name));
        }
        ASSERT_EQ(S_OK, createShell(shell_));
    }

    ComPtr<IDispatch> collection(const std::wstring& type)
    {
        ComPtr<IDispatch> result = environment(shell_.get(), type);
        EXPECT_TRUE(result) << "Environment(\"" << testing::PrintToString(type) << "\")";
        return result;
    }

    ComApartment apartment_;
    std::vector<std::unique_ptr<testsupport::SavedVariable>> saved_;
    ComPtr<IDispatch> shell_;
};

}  // namespace standin_test
