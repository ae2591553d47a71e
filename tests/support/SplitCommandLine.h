#pragma once
// A command line split the way a started program splits it.

#include <string>
#include <vector>

namespace testsupport {

// What CommandLineToArgvW finds in `commandLine` after the program name.
std::vector<std::wstring> argumentsOf(const std::wstring& commandLine);

}  // namespace testsupport
