// The configuration's writes against the "WScript.Shell" stand-in: what
// reaches the machine scope and what the outcome record says about it.

#include "app/Configuration.h"

#include "tests/support/Registry.h"
#include "tests/support/StandInSwitch.h"
#include "syshelper/TextConversion.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace {

using testsupport::readValue;
using testsupport::StoredValue;
using testsupport::systemEnvironment;

const std::wstring javaSuffix = L";%JAVA_HOME%\\bin;%JRE_HOME%\\bin";
const std::wstring windowsPath = L"%SystemRoot%\\system32;%SystemRoot%;%SystemRoot%\\System32\\Wbem";

// Keeps the three machine variables as they were found, whatever a test does.
class MachineConfiguration : public testing::Test {
protected:
    std::optional<StoredValue> stored(const wchar_t* name) const { return readValue(systemEnvironment, name); }

    void setPath(const std::wstring& value, DWORD type = REG_EXPAND_SZ)
    {
        ASSERT_EQ(testsupport::writeValue(systemEnvironment, L"PATH", StoredValue{type, value}), ERROR_SUCCESS);
    }

    ConfigurationOutcome configure(const Text& folder)
    {
        SystemHelperPtr helper = SystemHelper::create();
        return writeJavaEnvironment(*helper, folder);
    }

    const std::wstring chineseFolder = L"D:\\软件\\Java\\jdk 1.8.0_202 ";

private:
    testsupport::SavedVariable savedJavaHome{systemEnvironment, L"JAVA_HOME"};
    testsupport::SavedVariable savedJreHome{systemEnvironment, L"JRE_HOME"};
    testsupport::SavedVariable savedPath{systemEnvironment, L"PATH"};
};

TEST_F(MachineConfiguration, WritesAllThreeAndKeepsThePathReferences)
{
    setPath(windowsPath);

    const ConfigurationOutcome outcome = configure(toText(chineseFolder));

    EXPECT_TRUE(outcome.allSucceeded());
    EXPECT_TRUE(outcome.anyWritten());
    for (const VariableOutcome* variable : outcome.variables()) {
        EXPECT_EQ(variable->state, VariableState::written) << variable->name;
        EXPECT_EQ(variable->cause, FailureCause::none) << variable->name;
    }
    EXPECT_EQ(stored(L"JAVA_HOME"), (StoredValue{REG_SZ, chineseFolder}));
    EXPECT_EQ(stored(L"JRE_HOME"), (StoredValue{REG_EXPAND_SZ, L"%JAVA_HOME%\\jre"}));
    EXPECT_EQ(stored(L"PATH"), (StoredValue{REG_EXPAND_SZ, windowsPath + javaSuffix}));
}

TEST_F(MachineConfiguration, SecondRunLeavesPathAlone)
{
    setPath(windowsPath);
    configure(toText(chineseFolder));
    const std::optional<StoredValue> afterFirst = stored(L"PATH");

    const ConfigurationOutcome second = configure("C:\\jdk-17");

    EXPECT_TRUE(second.allSucceeded());
    EXPECT_EQ(second.path.state, VariableState::upToDate);
    EXPECT_EQ(stored(L"PATH"), afterFirst);
    EXPECT_EQ(stored(L"JAVA_HOME"), (StoredValue{REG_SZ, L"C:\\jdk-17"}));
}

TEST_F(MachineConfiguration, PathHoldingBothEntriesIsNotRewritten)
{
    // A write would store REG_EXPAND_SZ, since the value holds references.
    const std::wstring present = L"C:\\tools;%java_home%\\BIN\\ ; %JRE_HOME%\\bin";
    setPath(present, REG_SZ);

    const ConfigurationOutcome outcome = configure("C:\\jdk");

    EXPECT_EQ(outcome.path.state, VariableState::upToDate);
    EXPECT_EQ(stored(L"PATH"), (StoredValue{REG_SZ, present}));
}

TEST_F(MachineConfiguration, LongPathIsExtendedWhole)
{
    std::wstring longPath = windowsPath;
    for (int i = 0; longPath.size() < 600; ++i) longPath += L";C:\\Program Files\\Tool " + std::to_wstring(i) + L"\\bin";
    setPath(longPath);

    const ConfigurationOutcome outcome = configure("C:\\jdk");

    EXPECT_EQ(outcome.path.state, VariableState::written);
    EXPECT_EQ(stored(L"PATH"), (StoredValue{REG_EXPAND_SZ, longPath + javaSuffix}));
}

struct MissingPathCase {
    const char* label;
    std::optional<std::wstring> path;
};

std::ostream& operator<<(std::ostream& out, const MissingPathCase& c)
{
    return out << c.label;
}

class MachineConfigurationWithoutPath : public MachineConfiguration,
                                        public testing::WithParamInterface<MissingPathCase> {};

TEST_P(MachineConfigurationWithoutPath, WritesTheHomesButNotPath)
{
    if (GetParam().path) {
        setPath(*GetParam().path);
    } else {
        ASSERT_EQ(testsupport::deleteValue(systemEnvironment, L"PATH"), ERROR_SUCCESS);
    }
    const std::optional<StoredValue> before = stored(L"PATH");

    const ConfigurationOutcome outcome = configure("C:\\jdk");

    EXPECT_FALSE(outcome.allSucceeded());
    EXPECT_EQ(outcome.javaHome.state, VariableState::written);
    EXPECT_EQ(outcome.jreHome.state, VariableState::written);
    EXPECT_EQ(outcome.path.state, VariableState::notAttempted);
    EXPECT_EQ(outcome.path.cause, FailureCause::pathEmpty);
    EXPECT_EQ(stored(L"PATH"), before);
}

INSTANTIATE_TEST_SUITE_P(Table, MachineConfigurationWithoutPath,
                         testing::Values(MissingPathCase{"absent", std::nullopt}, MissingPathCase{"empty", L""}));

struct RefusalCase {
    const char* label;
    const wchar_t* standInSwitch;
    FailureCause cause;
    VariableState pathState;
};

std::ostream& operator<<(std::ostream& out, const RefusalCase& c)
{
    return out << c.label;
}

class MachineConfigurationRefused : public MachineConfiguration, public testing::WithParamInterface<RefusalCase> {};

TEST_P(MachineConfigurationRefused, ChangesNothingAndSaysWhy)
{
    setPath(windowsPath);
    const std::optional<StoredValue> javaHomeBefore = stored(L"JAVA_HOME");
    const std::optional<StoredValue> jreHomeBefore = stored(L"JRE_HOME");

    ConfigurationOutcome outcome;
    {
        const testsupport::StandInSwitch refusal(GetParam().standInSwitch);
        outcome = configure("C:\\jdk");
    }

    EXPECT_FALSE(outcome.allSucceeded());
    EXPECT_FALSE(outcome.anyWritten());
    EXPECT_EQ(outcome.javaHome.state, VariableState::notWritten);
    EXPECT_EQ(outcome.jreHome.state, VariableState::notWritten);
    EXPECT_EQ(outcome.path.state, GetParam().pathState);
    for (const VariableOutcome* variable : outcome.variables()) {
        EXPECT_EQ(variable->cause, GetParam().cause) << variable->name;
        EXPECT_TRUE(FAILED(variable->error)) << variable->name;
    }
    EXPECT_EQ(stored(L"JAVA_HOME"), javaHomeBefore);
    EXPECT_EQ(stored(L"JRE_HOME"), jreHomeBefore);
    EXPECT_EQ(stored(L"PATH"), (StoredValue{REG_EXPAND_SZ, windowsPath}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MachineConfigurationRefused,
    testing::Values(RefusalCase{"system writes refused", standin::refuseSystemWrites, FailureCause::accessDenied,
                                VariableState::notWritten},
                    RefusalCase{"shell object missing", standin::unavailable, FailureCause::shellUnavailable,
                                VariableState::notAttempted}));

}  // namespace
