#include "tests/standin/EnvironmentCollection.h"

#include "tests/standin/Arguments.h"
#include "tests/standin/EntryEnumerator.h"
#include "tests/standin/Switches.h"

#include <new>

namespace standin {
namespace {

const Member collectionMembers[] = {
    {L"Item", collectionIds::item, DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT},
    {L"Count", collectionIds::count, DISPATCH_METHOD},
    {L"length", collectionIds::length, DISPATCH_PROPERTYGET},
    {L"_NewEnum", collectionIds::newEnum, DISPATCH_METHOD},
    {L"Remove", collectionIds::remove, DISPATCH_METHOD},
};

// Converts one argument, naming it in the argument-error index on failure.
HRESULT argumentText(const VARIANT& argument, UINT index, std::wstring& text, UINT* argumentError)
{
    const HRESULT status = textOf(argument, text);
    if (FAILED(status) && argumentError) *argumentError = index;
    return FAILED(status) ? DISP_E_TYPEMISMATCH : S_OK;
}

HRESULT returnText(const std::wstring& text, VARIANT* result)
{
    if (!result) return S_OK;
    result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!result->bstrVal) return E_OUTOFMEMORY;
    result->vt = VT_BSTR;
    return S_OK;
}

void returnNumber(long number, VARIANT* result)
{
    if (!result) return;
    result->vt = VT_I4;
    result->lVal = number;
}

// The result takes over the new object's only reference.
HRESULT returnObject(IUnknown* object, VARIANT* result)
{
    if (!object) return E_OUTOFMEMORY;
    result->vt = VT_UNKNOWN;
    result->punkVal = object;
    return S_OK;
}

}  // namespace

EnvironmentCollection::EnvironmentCollection(Scope scope)
    : DispatchObject(collectionMembers, sizeof collectionMembers / sizeof collectionMembers[0]), scope_(scope)
{
}

HRESULT EnvironmentCollection::invokeMember(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result,
                                            UINT* argumentError)
{
    switch (id) {
    case collectionIds::item:
        if (flags & DISPATCH_PROPERTYPUT) return writeItem(params, argumentError);
        return readItem(params, result, argumentError);
    case collectionIds::count:
    case collectionIds::length:
        return count(params, result);
    case collectionIds::newEnum:
        return newEnum(params, result);
    case collectionIds::remove:
        return remove(params, argumentError);
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT EnvironmentCollection::readItem(const DISPPARAMS& params, VARIANT* result, UINT* argumentError)
{
    HRESULT status = expectPositional(params, 1, 1);
    if (FAILED(status)) return status;
    std::wstring name;
    status = argumentText(positional(params, 0), 0, name, argumentError);
    if (FAILED(status)) return status;
    return returnText(readVariable(scope_, name), result);
}

// A property write carries the name as its one positional argument and the
// value as the argument named DISPID_PROPERTYPUT; without that it is refused,
// so a caller that forgets the name shows up here.
HRESULT EnvironmentCollection::writeItem(const DISPPARAMS& params, UINT* argumentError)
{
    const VARIANT* value = propertyPutValue(params);
    if (!value || params.cNamedArgs != 1) return DISP_E_PARAMNOTFOUND;
    if (positionalCount(params) != 1) return DISP_E_BADPARAMCOUNT;
    std::wstring name;
    HRESULT status = argumentText(positional(params, 0), 1, name, argumentError);
    if (FAILED(status)) return status;
    std::wstring text;
    status = argumentText(*value, 0, text, argumentError);
    if (FAILED(status)) return status;
    return writeVariable(scope_, name, text);
}

HRESULT EnvironmentCollection::remove(const DISPPARAMS& params, UINT* argumentError)
{
    HRESULT status = expectPositional(params, 1, 1);
    if (FAILED(status)) return status;
    std::wstring name;
    status = argumentText(positional(params, 0), 0, name, argumentError);
    if (FAILED(status)) return status;
    return removeVariable(scope_, name);
}

HRESULT EnvironmentCollection::count(const DISPPARAMS& params, VARIANT* result)
{
    const HRESULT status = expectPositional(params, 0, 0);
    if (FAILED(status)) return status;
    returnNumber(countVariables(scope_), result);
    return S_OK;
}

HRESULT EnvironmentCollection::newEnum(const DISPPARAMS& params, VARIANT* result)
{
    const HRESULT status = expectPositional(params, 0, 0);
    if (FAILED(status)) return status;
    // Wine's own object does not implement "_NewEnum"; this lets a test see
    // how a caller copes with that.
    if (switchOn(failNewEnum)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return S_OK;
    if (switchOn(notAnEnumerator)) return returnObject(new (std::nothrow) PlainObject(), result);
    IUnknown* enumerator = new (std::nothrow) EntryEnumerator(enumItemsFor(listEntries(scope_)));
    return returnObject(enumerator, result);
}

}  // namespace standin
