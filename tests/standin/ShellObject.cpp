#include "tests/standin/ShellObject.h"

#include "tests/standin/Arguments.h"
#include "tests/standin/EnvironmentCollection.h"

#include <new>

namespace standin {
namespace {

// The type library declares "Environment" a property read with one optional
// argument; a call as a method is refused, as the real object refuses it.
const Member shellMembers[] = {
    {L"Environment", environmentId, DISPATCH_PROPERTYGET},
};

// Without a type the real object gives the machine scope.
HRESULT scopeOf(const DISPPARAMS& params, Scope& scope, UINT* argumentError)
{
    scope = Scope::System;
    if (params.cArgs == 0 || isMissing(positional(params, 0))) return S_OK;
    std::wstring type;
    if (FAILED(textOf(positional(params, 0), type))) {
        if (argumentError) *argumentError = 0;
        return DISP_E_TYPEMISMATCH;
    }
    return scopeFromType(type, scope) ? S_OK : E_INVALIDARG;
}

}  // namespace

ShellObject::ShellObject() : DispatchObject(shellMembers, sizeof shellMembers / sizeof shellMembers[0]) {}

HRESULT ShellObject::invokeMember(DISPID id, WORD, const DISPPARAMS& params, VARIANT* result,
                                  UINT* argumentError)
{
    if (id != environmentId) return DISP_E_MEMBERNOTFOUND;
    HRESULT status = expectPositional(params, 0, 1);
    if (FAILED(status)) return status;
    Scope scope = Scope::System;
    status = scopeOf(params, scope, argumentError);
    if (FAILED(status)) return status;
    if (!result) return S_OK;
    IDispatch* collection = new (std::nothrow) EnvironmentCollection(scope);
    if (!collection) return E_OUTOFMEMORY;
    // The result takes over the new object's only reference.
    result->vt = VT_DISPATCH;
    result->pdispVal = collection;
    return S_OK;
}

}  // namespace standin
