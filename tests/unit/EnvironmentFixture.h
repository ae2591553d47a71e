#pragma once
// A helper object for each test, COM for the thread, and the test's scratch
// variables saved in both scopes (and removed from them and from the
// process environment), then put back exactly as they were.

#include "syshelper/SystemHelper.h"
#include "syshelper/TextConversion.h"
#include "tests/support/Registry.h"
#include "tests/support/StandInSwitch.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <memory>
#include <string>
#include <vector>

namespace unittest {

inline const char* const scratchA = "ZOVREL_UNIT_A";
inline const char* const scratchB = "ZOVREL_UNIT_B";
inline const char* const scratchC = "ZOVREL_UNIT_C";

// Saves `names` in `where` and removes them there; puts them back later.
class SavedVariables {
public:
    SavedVariables(const testsupport::RegistryLocation& where, const std::vector<std::wstring>& names);

private:
    std::vector<std::unique_ptr<testsupport::SavedVariable>> saved_;
};

// "WScript.Shell" unregistered for as long as this lives: its ProgID no
// longer names a class, as on a system without Windows Script Host.
// (The stand-in's Unavailable switch refuses creation instead, which makes
// Wine's COM start a dllhost.exe surrogate that inherits the test's output
// and keeps CTest waiting long after the test has passed.)
class UnregisteredShell {
public:
    UnregisteredShell();

private:
    testsupport::SavedVariable classId_;
};

class EnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The HRESULT an operation left in the thread's last-error value.
    static HRESULT lastCause() { return static_cast<HRESULT>(GetLastError()); }
    // Something no operation leaves, so a stale value cannot pass for a cause.
    static void clearCause() { SetLastError(0xDEADBEEF); }

    std::vector<std::unique_ptr<SavedVariables>> saved;
    SystemHelperPtr helper;
};

// The user scope emptied for one test and filled again afterwards.
class EmptyUserScopeTest : public EnvironmentTest {
protected:
    void SetUp() override;
};

}  // namespace unittest
