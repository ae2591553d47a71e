#pragma once
// The test switches of the "WScript.Shell" stand-in: DWORD values under
// HKCU\Software\Zovrel\ShellStandIn, read by the stand-in at every call, so a
// test may flip them for a child process too. Shared by the stand-in and the
// tests; needs nothing but <windows.h>.

namespace standin {

inline constexpr const wchar_t* switchesKey = L"Software\\Zovrel\\ShellStandIn";

// The object cannot be created, as if it were not registered.
inline constexpr const wchar_t* unavailable = L"Unavailable";
// "Item" writes and "Remove" on the system scope fail with E_ACCESSDENIED,
// as for a process without administrator rights; reads still work.
inline constexpr const wchar_t* refuseSystemWrites = L"RefuseSystemWrites";
// The enumerator delivers one VT_I4 item (42) before the entries.
inline constexpr const wchar_t* enumNonStringItem = L"EnumNonStringItem";
// The enumerator delivers one VT_ARRAY|VT_BSTR item (two strings) before the entries.
inline constexpr const wchar_t* enumArrayItem = L"EnumArrayItem";
// Present with N: after N delivered items the next Next fails with E_FAIL.
inline constexpr const wchar_t* failNextAfter = L"FailNextAfter";
// "_NewEnum" fails with DISP_E_MEMBERNOTFOUND, as Wine's own object does.
inline constexpr const wchar_t* failNewEnum = L"FailNewEnum";
// "_NewEnum" returns an object that answers QueryInterface for IUnknown only.
inline constexpr const wchar_t* notAnEnumerator = L"NotAnEnumerator";

inline constexpr long nonStringItemValue = 42;

}  // namespace standin
