#pragma once
// Reading the arguments of an IDispatch::Invoke call. DISPPARAMS holds them
// last first, named ones (the value of a property write) before the others.

#include <oaidl.h>

#include <string>

namespace standin {

// Positional arguments, the value of a property write not counted.
UINT positionalCount(const DISPPARAMS& params);

// Left out by the caller (VT_ERROR with DISP_E_PARAMNOTFOUND).
bool isMissing(const VARIANT& argument);

// The positional argument at `position` (0 = first as the caller wrote it).
const VARIANT& positional(const DISPPARAMS& params, UINT position);

// The value of a property write: the argument named DISPID_PROPERTYPUT, or
// null when the call carries none.
const VARIANT* propertyPutValue(const DISPPARAMS& params);

// Any argument as text: by-reference values are followed, numbers and other
// types changed with VariantChangeType.
HRESULT textOf(const VARIANT& argument, std::wstring& text);

// Checks the count and that no named arguments are given, for a call that is
// not a property write; sets the argument-error index where it applies.
HRESULT expectPositional(const DISPPARAMS& params, UINT fewest, UINT most);

}  // namespace standin
