#include "tests/support/SplitCommandLine.h"

#include "syshelper/Unique.h"

#include <windows.h>
#include <shellapi.h>

namespace testsupport {

std::vector<std::wstring> argumentsOf(const std::wstring& commandLine)
{
    int count = 0;
    const UniqueLocal argv(CommandLineToArgvW(commandLine.c_str(), &count));
    std::vector<std::wstring> result;
    const auto* values = static_cast<wchar_t**>(argv.get());
    for (int index = 1; values && index < count; ++index) result.emplace_back(values[index]);
    return result;
}

}  // namespace testsupport
