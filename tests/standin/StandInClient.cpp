#include "tests/standin/StandInClient.h"

#include "tests/standin/StandInClsid.h"

namespace standin_test {

BSTR* Arguments::newString(const std::wstring& value)
{
    strings_.push_back(std::make_unique<UniqueBstr>());
    BSTR* slot = strings_.back()->put();
    *slot = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return slot;
}

Arguments& Arguments::text(const std::wstring& value)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = *newString(value);
    values_.push_back(argument);
    return *this;
}

Arguments& Arguments::textByReference(const std::wstring& value)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR | VT_BYREF;
    argument.pbstrVal = newString(value);
    values_.push_back(argument);
    return *this;
}

Arguments& Arguments::number(long value)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = value;
    values_.push_back(argument);
    return *this;
}

Arguments& Arguments::missing()
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_ERROR;
    argument.scode = DISP_E_PARAMNOTFOUND;
    values_.push_back(argument);
    return *this;
}

HRESULT createShell(ComPtr<IDispatch>& shell)
{
    CLSID clsid;
    HRESULT status = CLSIDFromProgID(standin::shellProgId, &clsid);
    if (FAILED(status)) return status;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, shell.putVoid());
}

HRESULT idOf(IDispatch* object, const wchar_t* name, DISPID& id)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

HRESULT call(IDispatch* object, const wchar_t* name, WORD flags, const Arguments& arguments, VARIANT* result)
{
    if (!object) return E_POINTER;
    DISPID id = DISPID_UNKNOWN;
    const HRESULT status = idOf(object, name, id);
    if (FAILED(status)) return status;
    // Invoke takes the arguments last first.
    std::vector<VARIANT> reversed(arguments.values().rbegin(), arguments.values().rend());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if ((flags & DISPATCH_PROPERTYPUT) && !reversed.empty()) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    UINT argumentError = 0;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, &argumentError);
}

ComPtr<IDispatch> environment(IDispatch* shell, const std::wstring& type)
{
    UniqueVariant result;
    ComPtr<IDispatch> collection;
    if (FAILED(call(shell, L"Environment", DISPATCH_PROPERTYGET, Arguments().text(type), result.get())))
        return collection;
    if (result.get()->vt == VT_DISPATCH && result.get()->pdispVal)
        result.get()->pdispVal->QueryInterface(IID_IDispatch, collection.putVoid());
    return collection;
}

HRESULT readItem(IDispatch* collection, const std::wstring& name, std::wstring& value)
{
    UniqueVariant result;
    const HRESULT status = call(collection, L"Item", DISPATCH_PROPERTYGET, Arguments().text(name), result.get());
    if (FAILED(status)) return status;
    if (result.get()->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
    const BSTR text = result.get()->bstrVal;
    value.assign(text ? text : L"", SysStringLen(text));
    return S_OK;
}

HRESULT writeItem(IDispatch* collection, const std::wstring& name, const std::wstring& value)
{
    return call(collection, L"Item", DISPATCH_PROPERTYPUT, Arguments().text(name).text(value), nullptr);
}

HRESULT removeItem(IDispatch* collection, const std::wstring& name)
{
    UniqueVariant result;
    return call(collection, L"Remove", DISPATCH_METHOD, Arguments().text(name), result.get());
}

HRESULT enumeratorOf(IDispatch* collection, ComPtr<IEnumVARIANT>& enumerator)
{
    UniqueVariant result;
    const HRESULT status = call(collection, L"_NewEnum", DISPATCH_METHOD, Arguments(), result.get());
    if (FAILED(status)) return status;
    if (result.get()->vt != VT_UNKNOWN || !result.get()->punkVal) return DISP_E_TYPEMISMATCH;
    return result.get()->punkVal->QueryInterface(IID_IEnumVARIANT, enumerator.putVoid());
}

HRESULT drainTexts(IEnumVARIANT* enumerator, std::vector<std::wstring>& texts)
{
    for (;;) {
        UniqueVariant item;
        ULONG fetched = 0;
        const HRESULT status = enumerator->Next(1, item.get(), &fetched);
        if (status != S_OK) return status;
        if (fetched != 1 || item.get()->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
        const BSTR text = item.get()->bstrVal;
        texts.emplace_back(text ? text : L"", SysStringLen(text));
    }
}

}  // namespace standin_test
