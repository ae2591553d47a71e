#pragma once
// The test switches, read afresh at every call so that a test may flip them
// while the object lives, even from another process.

#include "tests/support/StandInSwitches.h"

#include <windows.h>

#include <optional>

namespace standin {

std::optional<DWORD> switchValue(const wchar_t* name);

inline bool switchOn(const wchar_t* name)
{
    const std::optional<DWORD> value = switchValue(name);
    return value && *value != 0;
}

}  // namespace standin
