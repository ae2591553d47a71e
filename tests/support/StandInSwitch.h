#pragma once
// Turns one switch of the "WScript.Shell" stand-in on for the life of the
// object and removes it again afterwards.

#include "tests/support/StandInSwitches.h"

#include <windows.h>

#include <string>

namespace testsupport {

class StandInSwitch {
public:
    explicit StandInSwitch(const wchar_t* name, DWORD value = 1);
    StandInSwitch(const StandInSwitch&) = delete;
    StandInSwitch& operator=(const StandInSwitch&) = delete;
    ~StandInSwitch();

private:
    std::wstring name_;
    bool progIdHidden_ = false;
};

}  // namespace testsupport
