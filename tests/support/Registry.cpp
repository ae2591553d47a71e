#include "tests/support/Registry.h"

#include "syshelper/Unique.h"

namespace testsupport {
namespace {

bool isStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

UniqueRegKey openKey(const RegistryLocation& where, REGSAM access)
{
    UniqueRegKey key;
    if (RegOpenKeyExW(where.root, where.subKey, 0, access, key.put()) != ERROR_SUCCESS) key.release();
    return key;
}

UniqueRegKey createKey(const RegistryLocation& where)
{
    UniqueRegKey key;
    if (RegCreateKeyExW(where.root, where.subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        key.release();
    return key;
}

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

std::optional<RawValue> readRaw(const RegistryLocation& where, const std::wstring& name)
{
    UniqueRegKey key = openKey(where, KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    RawValue raw;
    DWORD size = 0;
    // The value may grow between the two calls; ask again until it fits.
    for (;;) {
        LONG status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &raw.type, nullptr, &size);
        if (status != ERROR_SUCCESS) return std::nullopt;
        raw.bytes.resize(size);
        status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &raw.type, raw.bytes.data(), &size);
        if (status == ERROR_SUCCESS) {
            raw.bytes.resize(size);
            return raw;
        }
        if (status != ERROR_MORE_DATA) return std::nullopt;
    }
}

LONG writeRaw(const RegistryLocation& where, const std::wstring& name, DWORD type, const BYTE* bytes, DWORD size)
{
    UniqueRegKey key = createKey(where);
    if (!key) return ERROR_ACCESS_DENIED;
    return RegSetValueExW(key.get(), name.c_str(), 0, type, bytes, size);
}

std::wstring unitsOf(const std::vector<BYTE>& bytes)
{
    std::wstring units((bytes.size() + 1) / 2, L'\0');
    if (!bytes.empty()) memcpy(&units[0], bytes.data(), bytes.size());
    return units;
}

const char* typeName(DWORD type)
{
    switch (type) {
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_DWORD: return "REG_DWORD";
    case REG_BINARY: return "REG_BINARY";
    default: return "REG_other";
    }
}

}  // namespace

void PrintTo(const StoredValue& value, std::ostream* out)
{
    *out << typeName(value.type) << " \"";
    for (wchar_t unit : value.data) {
        if (unit >= 0x20 && unit < 0x7F)
            *out << static_cast<char>(unit);
        else
            *out << "\\u" << std::hex << static_cast<unsigned>(unit) << std::dec;
    }
    *out << '"';
}

std::optional<StoredValue> readValue(const RegistryLocation& where, const std::wstring& name)
{
    std::optional<RawValue> raw = readRaw(where, name);
    if (!raw) return std::nullopt;
    StoredValue value{raw->type, unitsOf(raw->bytes)};
    if (isStringType(raw->type) && !value.data.empty() && value.data.back() == L'\0') value.data.pop_back();
    return value;
}

LONG writeValue(const RegistryLocation& where, const std::wstring& name, const StoredValue& value)
{
    // String types carry their terminating NUL in the registry.
    const DWORD units = static_cast<DWORD>(value.data.size() + (isStringType(value.type) ? 1 : 0));
    return writeRaw(where, name, value.type, reinterpret_cast<const BYTE*>(value.data.c_str()),
                    units * sizeof(wchar_t));
}

LONG writeDword(const RegistryLocation& where, const std::wstring& name, DWORD value)
{
    return writeRaw(where, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

LONG deleteValue(const RegistryLocation& where, const std::wstring& name)
{
    UniqueRegKey key = openKey(where, KEY_SET_VALUE);
    if (!key) return ERROR_SUCCESS;
    LONG status = RegDeleteValueW(key.get(), name.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

std::vector<std::wstring> valueNames(const RegistryLocation& where)
{
    std::vector<std::wstring> names;
    UniqueRegKey key = openKey(where, KEY_QUERY_VALUE);
    if (!key) return names;
    DWORD count = 0;
    DWORD longestName = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::wstring buffer(longestName + 1, L'\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (RegEnumValueW(key.get(), index, &buffer[0], &length, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS)
            names.emplace_back(buffer.c_str(), length);
    }
    return names;
}

SavedVariable::SavedVariable(const RegistryLocation& where, std::wstring name) : where_(where), name_(std::move(name))
{
    if (std::optional<RawValue> raw = readRaw(where_, name_)) {
        present_ = true;
        type_ = raw->type;
        bytes_ = std::move(raw->bytes);
    }
}

SavedVariable::~SavedVariable()
{
    if (!present_) {
        deleteValue(where_, name_);
        return;
    }
    writeRaw(where_, name_, type_, bytes_.data(), static_cast<DWORD>(bytes_.size()));
}

}  // namespace testsupport
