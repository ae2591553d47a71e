#include "tests/support/StandInSwitch.h"

#include "tests/support/Registry.h"

namespace testsupport {
namespace {

const RegistryLocation switches{HKEY_CURRENT_USER, standin::switchesKey};

}  // namespace

StandInSwitch::StandInSwitch(const wchar_t* name, DWORD value) : name_(name)
{
    writeDword(switches, name_, value);
}

StandInSwitch::~StandInSwitch()
{
    deleteValue(switches, name_);
}

}  // namespace testsupport
