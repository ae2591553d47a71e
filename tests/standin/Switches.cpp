#include "tests/standin/Switches.h"

namespace standin {

std::optional<DWORD> switchValue(const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, switchesKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

}  // namespace standin
