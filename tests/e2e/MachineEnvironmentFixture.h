#pragma once
// The environment a run of the tool may change, in a known state for each
// test and put back afterwards: no machine JAVA_HOME or JRE_HOME, no user
// JAVA_HOME or PATH, a machine PATH of Windows' own folders only; and a
// JDK-shaped folder (bin\java.exe) whose name holds blanks and Chinese
// characters.

#include "tests/support/Registry.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace e2e {

// The machine PATH each test starts from.
inline const std::wstring windowsPath = L"%SystemRoot%\\system32;%SystemRoot%";
// What a configuration appends to a PATH that holds neither entry.
inline const std::wstring javaSuffix = L";%JAVA_HOME%\\bin;%JRE_HOME%\\bin";

// `text` with every `key` replaced by `value`.
std::wstring replaced(std::wstring text, const std::wstring& key, const std::wstring& value);

class MachineEnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override;

    // "{jdk}" and "{root}" in a text stand for the fixture's folders.
    std::wstring placed(const std::wstring& text) const;

    std::optional<testsupport::StoredValue> machine(const wchar_t* name) const;

    // The machine scope as SetUp left it.
    bool machineUnchanged() const;

    testsupport::SavedVariable savedJavaHome{testsupport::systemEnvironment, L"JAVA_HOME"};
    testsupport::SavedVariable savedJreHome{testsupport::systemEnvironment, L"JRE_HOME"};
    testsupport::SavedVariable savedPath{testsupport::systemEnvironment, L"PATH"};
    testsupport::SavedVariable savedUserJavaHome{testsupport::userEnvironment, L"JAVA_HOME"};
    testsupport::SavedVariable savedUserPath{testsupport::userEnvironment, L"PATH"};
    testsupport::JdkFolder jdk;
};

}  // namespace e2e
