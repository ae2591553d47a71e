#include "app/ConsoleCheck.h"

#include "app/JdkCheck.h"
#include "syshelper/Unique.h"

#include <windows.h>
#include <userenv.h>

#include <algorithm>
#include <vector>

namespace {

constexpr wchar_t machineEnvironmentKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr wchar_t userEnvironmentKey[] = L"Environment";

std::wstring upperCase(std::wstring text)
{
    if (!text.empty()) CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool sameName(const std::wstring& a, const wchar_t* b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

bool isPathName(const std::wstring& name)
{
    return sameName(name, L"PATH");
}

bool isBlankOrQuote(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'"';
}

// cmd and CreateProcess accept an entry in quotes and with blanks around it.
std::wstring cleanEntry(const std::wstring& entry)
{
    const auto first = std::find_if_not(entry.begin(), entry.end(), isBlankOrQuote);
    const auto last = std::find_if_not(entry.rbegin(), entry.rend(), isBlankOrQuote).base();
    return first < last ? std::wstring(first, last) : std::wstring();
}

std::wstring absoluteFolder(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring result = path;
    if (needed != 0) {
        std::vector<wchar_t> buffer(needed);
        const DWORD length = GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
        if (length != 0 && length < needed) result.assign(buffer.data(), length);
    }
    while (result.size() > 3 && (result.back() == L'\\' || result.back() == L'/')) result.pop_back();
    return result;
}

bool definesName(const std::vector<EnvironmentValue>& values, const wchar_t* name)
{
    return std::any_of(values.begin(), values.end(),
                       [name](const EnvironmentValue& value) { return sameName(value.name, name); });
}

bool definesName(const std::vector<EnvironmentValue>& values, const std::wstring& name)
{
    return definesName(values, name.c_str());
}

std::vector<EnvironmentValue> readEnvironmentKey(HKEY root, const wchar_t* subKey)
{
    std::vector<EnvironmentValue> values;
    UniqueRegKey key;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return values;

    DWORD longestName = 0;
    DWORD longestData = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        return values;
    }
    std::vector<wchar_t> name(longestName + 1);
    std::vector<wchar_t> data(longestData / sizeof(wchar_t) + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataBytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = REG_NONE;
        const LONG status = RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data.data()), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
        std::wstring text(data.data(), dataBytes / sizeof(wchar_t));
        text.resize(wcsnlen(text.c_str(), text.size()));
        values.push_back({std::wstring(name.data(), nameLength), text, type == REG_EXPAND_SZ});
    }
    return values;
}

// "NAME=value" strings up to an empty one; the hidden "=C:=C:\" entries are skipped.
std::vector<EnvironmentValue> parseEnvironmentStrings(const wchar_t* strings)
{
    std::vector<EnvironmentValue> values;
    for (const wchar_t* entry = strings; entry && *entry; entry += wcslen(entry) + 1) {
        const wchar_t* equals = wcschr(entry + 1, L'=');
        if (entry[0] == L'=' || !equals) continue;
        values.push_back({std::wstring(entry, equals), std::wstring(equals + 1), false});
    }
    return values;
}

// What Windows itself gives every new process of this user; fall back to this
// process's own environment when the block cannot be made.
std::vector<EnvironmentValue> readSuppliedVariables()
{
    UniqueHandleKernel token;
    UniqueEnvironmentBlock block;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_IMPERSONATE | TOKEN_DUPLICATE, token.put()) &&
        CreateEnvironmentBlock(block.put(), token.get(), FALSE)) {
        return parseEnvironmentStrings(static_cast<const wchar_t*>(block.get()));
    }
    UniqueEnvironmentStrings own(GetEnvironmentStringsW());
    return parseEnvironmentStrings(own.get());
}

// Only what the two keys do not define: their values are computed here in
// Windows' order, and Wine's block, for one, leaves the user PATH out.
std::vector<EnvironmentValue> baseVariables(const EnvironmentSources& sources)
{
    std::vector<EnvironmentValue> base = readSuppliedVariables();
    base.erase(std::remove_if(base.begin(), base.end(),
                              [&sources](const EnvironmentValue& value) {
                                  return isPathName(value.name) || definesName(sources.machine, value.name) ||
                                         definesName(sources.user, value.name);
                              }),
               base.end());
    return base;
}

std::optional<ConsolePathEntry> firstJava(const NewProcessEnvironment& environment)
{
    for (const ConsolePathEntry& entry : environment.path()) {
        if (holdsJavaExe(entry.folder)) return entry;
    }
    return std::nullopt;
}

std::wstring binOf(const std::optional<std::wstring>& home)
{
    return home && !home->empty() ? joinPath(*home, L"bin") : std::wstring();
}

}  // namespace

NewProcessEnvironment::NewProcessEnvironment(const EnvironmentSources& sources)
{
    apply(sources.base, false, PathScope::machine);
    apply(sources.machine, false, PathScope::machine);
    apply(sources.machine, true, PathScope::machine);
    apply(sources.user, false, PathScope::user);
    apply(sources.user, true, PathScope::user);
}

std::optional<std::wstring> NewProcessEnvironment::variable(const std::wstring& name) const
{
    const std::wstring key = upperCase(name);
    for (const auto& variable : variables_) {
        if (variable.first == key) return variable.second;
    }
    return std::nullopt;
}

std::wstring& NewProcessEnvironment::slot(const std::wstring& name)
{
    const std::wstring key = upperCase(name);
    for (auto& variable : variables_) {
        if (variable.first == key) return variable.second;
    }
    variables_.emplace_back(key, std::wstring());
    return variables_.back().second;
}

void NewProcessEnvironment::apply(const std::vector<EnvironmentValue>& values, bool expandable, PathScope scope)
{
    for (const EnvironmentValue& value : values) {
        if (value.expandable != expandable) continue;
        const std::wstring data = expandable ? expandReferences(value.data, *this) : value.data;
        if (isPathName(value.name)) {
            appendPath(data, scope);
        } else {
            slot(value.name) = data;
        }
    }
}

// The user PATH does not replace the machine one: Windows appends it.
void NewProcessEnvironment::appendPath(const std::wstring& value, PathScope scope)
{
    if (scope == PathScope::machine) path_.clear();
    std::wstring& joined = slot(L"PATH");
    if (scope == PathScope::machine || joined.empty()) {
        joined = value;
    } else {
        joined += L';' + value;
    }
    size_t start = 0;
    while (start <= value.size()) {
        const size_t end = std::min(value.find(L';', start), value.size());
        const std::wstring folder = cleanEntry(value.substr(start, end - start));
        if (!folder.empty()) path_.push_back({folder, scope});
        start = end + 1;
    }
}

std::wstring expandReferences(const std::wstring& text, const NewProcessEnvironment& environment)
{
    std::wstring result;
    size_t position = 0;
    while (position < text.size()) {
        const size_t open = text.find(L'%', position);
        const size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
        if (close == std::wstring::npos) break;
        result.append(text, position, open - position);
        const std::optional<std::wstring> value = environment.variable(text.substr(open + 1, close - open - 1));
        if (close > open + 1 && value) {
            result += *value;
            position = close + 1;
        } else {
            // Left as written; the closing '%' may open the next reference.
            result.append(text, open, close - open);
            position = close;
        }
    }
    result.append(text, std::min(position, text.size()), std::wstring::npos);
    return result;
}

bool isSameFolder(const std::wstring& a, const std::wstring& b)
{
    if (a.empty() || b.empty()) return false;
    const std::wstring left = absoluteFolder(a);
    const std::wstring right = absoluteFolder(b);
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

ConsoleJavaVerdict judgeConsoleJava(const EnvironmentSources& sources)
{
    const NewProcessEnvironment console(sources);
    const NewProcessEnvironment machineOnly({sources.base, sources.machine, {}});
    const std::wstring configuredBin = binOf(machineOnly.variable(L"JAVA_HOME"));
    const std::wstring consoleBin = binOf(console.variable(L"JAVA_HOME"));
    // New consoles see the user's JAVA_HOME, and tools that start Java through
    // it (Maven, Gradle, Tomcat) follow it, whatever PATH finds.
    const bool userOverridesJavaHome =
        definesName(sources.user, L"JAVA_HOME") && !isSameFolder(consoleBin, configuredBin);

    const std::optional<ConsolePathEntry> found = firstJava(console);
    if (!found) return {ConsoleJavaWinner::none, {}};
    if (userOverridesJavaHome && (isSameFolder(found->folder, configuredBin) || isSameFolder(found->folder, consoleBin))) {
        return {ConsoleJavaWinner::userJavaHome, consoleBin};
    }
    if (isSameFolder(found->folder, configuredBin)) return {ConsoleJavaWinner::javaHomeBin, found->folder};
    if (found->scope == PathScope::user) return {ConsoleJavaWinner::userPathEntry, found->folder};
    return {ConsoleJavaWinner::earlierPathEntry, found->folder};
}

EnvironmentSources readEnvironmentSources()
{
    EnvironmentSources sources;
    sources.machine = readEnvironmentKey(HKEY_LOCAL_MACHINE, machineEnvironmentKey);
    sources.user = readEnvironmentKey(HKEY_CURRENT_USER, userEnvironmentKey);
    sources.base = baseVariables(sources);
    return sources;
}

ConsoleJavaVerdict checkNewConsoleJava()
{
    return judgeConsoleJava(readEnvironmentSources());
}
