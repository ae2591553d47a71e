#pragma once
// The class id under which the test stand-in for "WScript.Shell" registers
// itself; the ProgID then maps to it instead of the system's own object.

#include <windows.h>

namespace standin {

// {0878730F-D747-4B79-83BF-AEED935FB846}
inline constexpr GUID shellStandInClsid = {
    0x0878730f, 0xd747, 0x4b79, {0x83, 0xbf, 0xae, 0xed, 0x93, 0x5f, 0xb8, 0x46}};

inline constexpr const wchar_t* shellProgId = L"WScript.Shell";

}  // namespace standin
