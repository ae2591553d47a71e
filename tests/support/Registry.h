#pragma once
// Registry access for tests: the two environment scopes, typed reads and
// writes, and an owner that puts a variable back exactly as it found it.

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

struct RegistryLocation {
    HKEY root;
    const wchar_t* subKey;
};

inline const RegistryLocation userEnvironment{HKEY_CURRENT_USER, L"Environment"};
inline const RegistryLocation systemEnvironment{
    HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment"};

inline const RegistryLocation& environmentOf(bool userScope)
{
    return userScope ? userEnvironment : systemEnvironment;
}

// A value as stored. For the string types `data` is the text without its
// terminating NUL; for any other type it holds the raw bytes, two per unit
// (a trailing odd byte padded with zero).
struct StoredValue {
    DWORD type = REG_SZ;
    std::wstring data;

    bool operator==(const StoredValue& other) const { return type == other.type && data == other.data; }
    bool operator!=(const StoredValue& other) const { return !(*this == other); }
};

// Readable test failures: "REG_EXPAND_SZ %SystemRoot%".
void PrintTo(const StoredValue& value, std::ostream* out);

// Nothing when the value (or its key) is absent.
std::optional<StoredValue> readValue(const RegistryLocation& where, const std::wstring& name);

// Creates the key when needed. Returns the Win32 error code (ERROR_SUCCESS).
LONG writeValue(const RegistryLocation& where, const std::wstring& name, const StoredValue& value);
LONG writeDword(const RegistryLocation& where, const std::wstring& name, DWORD value);

// An absent value counts as deleted.
LONG deleteValue(const RegistryLocation& where, const std::wstring& name);

// Names of the values in the key (empty when the key is absent).
std::vector<std::wstring> valueNames(const RegistryLocation& where);

// Remembers a value (present or absent, type and bytes) and restores it
// exactly when it goes out of scope, so a test may change PATH, JAVA_HOME...
class SavedVariable {
public:
    SavedVariable(const RegistryLocation& where, std::wstring name);
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;
    ~SavedVariable();

private:
    RegistryLocation where_;
    std::wstring name_;
    bool present_ = false;
    DWORD type_ = REG_NONE;
    std::vector<BYTE> bytes_;
};

}  // namespace testsupport
