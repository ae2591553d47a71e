#include "tests/e2e/MachineEnvironmentFixture.h"

namespace e2e {

using testsupport::StoredValue;
using testsupport::systemEnvironment;
using testsupport::userEnvironment;

std::wstring replaced(std::wstring text, const std::wstring& key, const std::wstring& value)
{
    for (size_t at = text.find(key); at != std::wstring::npos; at = text.find(key, at + value.size())) {
        text.replace(at, key.size(), value);
    }
    return text;
}

void MachineEnvironmentTest::SetUp()
{
    ASSERT_FALSE(jdk.home().empty()) << "the JDK-shaped folder could not be made";
    ASSERT_EQ(testsupport::deleteValue(systemEnvironment, L"JAVA_HOME"), ERROR_SUCCESS);
    ASSERT_EQ(testsupport::deleteValue(systemEnvironment, L"JRE_HOME"), ERROR_SUCCESS);
    ASSERT_EQ(testsupport::deleteValue(userEnvironment, L"JAVA_HOME"), ERROR_SUCCESS);
    ASSERT_EQ(testsupport::deleteValue(userEnvironment, L"PATH"), ERROR_SUCCESS);
    ASSERT_EQ(testsupport::writeValue(systemEnvironment, L"PATH", StoredValue{REG_EXPAND_SZ, windowsPath}),
              ERROR_SUCCESS);
}

std::wstring MachineEnvironmentTest::placed(const std::wstring& text) const
{
    return replaced(replaced(text, L"{jdk}", jdk.home()), L"{root}", jdk.root());
}

std::optional<StoredValue> MachineEnvironmentTest::machine(const wchar_t* name) const
{
    return testsupport::readValue(systemEnvironment, name);
}

bool MachineEnvironmentTest::machineUnchanged() const
{
    return !machine(L"JAVA_HOME") && !machine(L"JRE_HOME") &&
           machine(L"PATH") == StoredValue{REG_EXPAND_SZ, windowsPath};
}

}  // namespace e2e
