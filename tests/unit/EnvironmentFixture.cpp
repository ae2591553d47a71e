#include "EnvironmentFixture.h"

namespace unittest {

SavedVariables::SavedVariables(const testsupport::RegistryLocation& where, const std::vector<std::wstring>& names)
{
    for (const std::wstring& name : names) {
        saved_.push_back(std::make_unique<testsupport::SavedVariable>(where, name));
        testsupport::deleteValue(where, name);
    }
}

namespace {

const testsupport::RegistryLocation shellProgIdClass{HKEY_LOCAL_MACHINE, L"Software\\Classes\\WScript.Shell\\CLSID"};

}  // namespace

UnregisteredShell::UnregisteredShell() : classId_(shellProgIdClass, L"")
{
    testsupport::deleteValue(shellProgIdClass, L"");
}

void EnvironmentTest::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    const std::vector<std::wstring> names{toWide(scratchA), toWide(scratchB), toWide(scratchC)};
    saved.push_back(std::make_unique<SavedVariables>(testsupport::userEnvironment, names));
    saved.push_back(std::make_unique<SavedVariables>(testsupport::systemEnvironment, names));
    for (const char* name : {scratchA, scratchB, scratchC}) SetEnvironmentVariableA(name, nullptr);
    helper = SystemHelper::create();
}

void EnvironmentTest::TearDown()
{
    helper.reset();
    for (const char* name : {scratchA, scratchB, scratchC}) SetEnvironmentVariableA(name, nullptr);
    saved.clear();
    CoUninitialize();
}

void EmptyUserScopeTest::SetUp()
{
    EnvironmentTest::SetUp();
    saved.push_back(std::make_unique<SavedVariables>(testsupport::userEnvironment,
                                                     testsupport::valueNames(testsupport::userEnvironment)));
    ASSERT_TRUE(testsupport::valueNames(testsupport::userEnvironment).empty());
}

}  // namespace unittest
