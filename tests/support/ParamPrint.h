#pragma once
// Short, plain-ASCII forms of a parameterised case's fields for its PrintTo.
// CTest names each such test after what googletest prints for the
// parameter, so a printer must give the same text in every build (no
// addresses, no raw bytes) and keep it to a line.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace testsupport {

// The text in double quotes: printable ASCII as it is, a quote as \", any
// other unit as \xHH (bytes) or \uHHHH (UTF-16 units); a long text is cut
// and says how long it was.
std::string brief(const std::string& text);
std::string brief(const std::wstring& text);
std::string brief(const char* text);     // nullptr: null
std::string brief(const wchar_t* text);  // nullptr: null

template <typename Text>
std::string brief(const std::optional<Text>& text)
{
    return text ? brief(*text) : std::string("absent");
}

// 0x-prefixed hexadecimal, as HRESULTs are usually written.
std::string hex(uint32_t value);

// REG_SZ, REG_EXPAND_SZ, or the type's number.
std::string registryTypeName(DWORD type);

}  // namespace testsupport
