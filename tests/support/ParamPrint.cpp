#include "tests/support/ParamPrint.h"

#include <cstdio>
#include <type_traits>

namespace testsupport {

namespace {

// Enough for a path to be recognised; the 300-unit cases stay on one line.
constexpr size_t shownUnits = 40;

template <typename Unit>
std::string quoted(const std::basic_string<Unit>& text, const char* escapeFormat)
{
    std::string result = "\"";
    const size_t shown = text.size() > shownUnits ? shownUnits : text.size();
    for (size_t index = 0; index < shown; ++index) {
        const auto unit = static_cast<std::make_unsigned_t<Unit>>(text[index]);
        if (unit == '"') {
            result += "\\\"";
        } else if (unit >= 0x20 && unit < 0x7F) {
            result += static_cast<char>(unit);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, escapeFormat, static_cast<unsigned>(unit));
            result += escaped;
        }
    }
    result += '"';
    if (shown < text.size()) result += "... (" + std::to_string(text.size()) + " units)";
    return result;
}

}  // namespace

std::string brief(const std::string& text)
{
    return quoted(text, "\\x%02X");
}

std::string brief(const std::wstring& text)
{
    return quoted(text, "\\u%04X");
}

std::string brief(const char* text)
{
    return text ? brief(std::string(text)) : std::string("null");
}

std::string brief(const wchar_t* text)
{
    return text ? brief(std::wstring(text)) : std::string("null");
}

std::string hex(uint32_t value)
{
    char text[12];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string registryTypeName(DWORD type)
{
    switch (type) {
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    default:
        return "type " + std::to_string(type);
    }
}

}  // namespace testsupport
