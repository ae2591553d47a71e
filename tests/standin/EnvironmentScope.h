#pragma once
// The registry keys behind the environment collections, and the operations
// that the collection's members perform on them.

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

enum class Scope { User, System, Volatile };

// Parses the type given to "Environment" ("User", "system"...), without
// regard to case. False for a type the stand-in does not offer.
bool scopeFromType(const std::wstring& type, Scope& scope);

// The stored value, unexpanded; an absent name gives an empty string.
std::wstring readVariable(Scope scope, const std::wstring& name);

// Stores REG_EXPAND_SZ when the value refers to another variable (%NAME%),
// REG_SZ otherwise, as Windows' own environment dialog does.
HRESULT writeVariable(Scope scope, const std::wstring& name, const std::wstring& value);

// An absent name is no error.
HRESULT removeVariable(Scope scope, const std::wstring& name);

long countVariables(Scope scope);

// "NAME=value" for every value of the scope, unexpanded, in registry order.
std::vector<std::wstring> listEntries(Scope scope);

// True when `value` holds a '%', one or more other characters, then '%'.
bool holdsReference(const std::wstring& value);

}  // namespace standin
