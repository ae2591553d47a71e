#include "EnvironmentFixture.h"

namespace unittest {

std::wstring wideOf(const Text& text)
{
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

Text ansiOf(const std::wstring& wide)
{
    if (wide.empty()) return Text();
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                         nullptr);
    Text text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size, nullptr, nullptr);
    return text;
}

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
    const std::vector<std::wstring> names{wideOf(scratchA), wideOf(scratchB), wideOf(scratchC)};
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

}  // namespace unittest
