#include "tests/support/StandInSwitch.h"

#include "syshelper/Unique.h"
#include "tests/support/Registry.h"

namespace testsupport {
namespace {

const RegistryLocation switches{HKEY_CURRENT_USER, standin::switchesKey};

// "Unavailable" also takes the ProgID out of the registry, so the object is
// truly unregistered. A class that refuses only in its DLL is not enough
// under Wine: COM then tries a local server and starts a surrogate dllhost,
// which outlives the test and holds its output pipe open.
constexpr const wchar_t* progIdKey = L"Software\\Classes\\WScript.Shell";
constexpr const wchar_t* hiddenProgIdKey = L"Software\\Zovrel\\HiddenShellProgId";

// Copies the key's whole tree to its new place, then deletes the original.
bool moveKey(const wchar_t* from, const wchar_t* to)
{
    UniqueRegKey source;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, from, 0, KEY_READ, source.put()) != ERROR_SUCCESS) return false;
    UniqueRegKey target;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, target.put(), nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    return RegCopyTreeW(source.get(), nullptr, target.get()) == ERROR_SUCCESS &&
           RegDeleteTreeW(HKEY_LOCAL_MACHINE, from) == ERROR_SUCCESS;
}

}  // namespace

StandInSwitch::StandInSwitch(const wchar_t* name, DWORD value) : name_(name)
{
    writeDword(switches, name_, value);
    if (name_ == standin::unavailable) progIdHidden_ = moveKey(progIdKey, hiddenProgIdKey);
}

StandInSwitch::~StandInSwitch()
{
    if (progIdHidden_) moveKey(hiddenProgIdKey, progIdKey);
    deleteValue(switches, name_);
}

}  // namespace testsupport
