#include "tests/standin/EnvironmentScope.h"

#include "tests/standin/Switches.h"
#include "tests/support/Registry.h"

#include <optional>

namespace standin {
namespace {

using testsupport::RegistryLocation;
using testsupport::StoredValue;

const RegistryLocation volatileEnvironment{HKEY_CURRENT_USER, L"Volatile Environment"};

const RegistryLocation& locationOf(Scope scope)
{
    switch (scope) {
    case Scope::User: return testsupport::userEnvironment;
    case Scope::System: return testsupport::systemEnvironment;
    case Scope::Volatile: break;
    }
    return volatileEnvironment;
}

bool sameIgnoringCase(const std::wstring& left, const wchar_t* right)
{
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right, -1, TRUE) == CSTR_EQUAL;
}

// A process without administrator rights may not change the machine scope.
bool writesRefused(Scope scope)
{
    return scope == Scope::System && switchOn(refuseSystemWrites);
}

bool isText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

std::wstring textOf(const std::optional<StoredValue>& stored)
{
    return stored && isText(stored->type) ? stored->data : std::wstring();
}

}  // namespace

bool scopeFromType(const std::wstring& type, Scope& scope)
{
    struct Known {
        const wchar_t* type;
        Scope scope;
    };
    static const Known known[] = {
        {L"System", Scope::System}, {L"User", Scope::User}, {L"Volatile", Scope::Volatile}};
    for (const Known& candidate : known) {
        if (sameIgnoringCase(type, candidate.type)) {
            scope = candidate.scope;
            return true;
        }
    }
    return false;
}

bool holdsReference(const std::wstring& value)
{
    const size_t open = value.find(L'%');
    if (open == std::wstring::npos) return false;
    const size_t close = value.find(L'%', open + 1);
    return close != std::wstring::npos && close > open + 1;
}

std::wstring readVariable(Scope scope, const std::wstring& name)
{
    return textOf(testsupport::readValue(locationOf(scope), name));
}

HRESULT writeVariable(Scope scope, const std::wstring& name, const std::wstring& value)
{
    if (writesRefused(scope)) return E_ACCESSDENIED;
    const StoredValue stored{static_cast<DWORD>(holdsReference(value) ? REG_EXPAND_SZ : REG_SZ), value};
    return HRESULT_FROM_WIN32(testsupport::writeValue(locationOf(scope), name, stored));
}

HRESULT removeVariable(Scope scope, const std::wstring& name)
{
    if (writesRefused(scope)) return E_ACCESSDENIED;
    return HRESULT_FROM_WIN32(testsupport::deleteValue(locationOf(scope), name));
}

long countVariables(Scope scope)
{
    return static_cast<long>(testsupport::valueNames(locationOf(scope)).size());
}

std::vector<std::wstring> listEntries(Scope scope)
{
    std::vector<std::wstring> entries;
    for (const std::wstring& name : testsupport::valueNames(locationOf(scope)))
        entries.push_back(name + L"=" + readVariable(scope, name));
    return entries;
}

}  // namespace standin
