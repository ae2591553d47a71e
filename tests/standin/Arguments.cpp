#include "tests/standin/Arguments.h"

#include "syshelper/Unique.h"

namespace standin {

UINT positionalCount(const DISPPARAMS& params)
{
    return params.cArgs - params.cNamedArgs;
}

bool isMissing(const VARIANT& argument)
{
    return argument.vt == VT_ERROR && argument.scode == DISP_E_PARAMNOTFOUND;
}

const VARIANT& positional(const DISPPARAMS& params, UINT position)
{
    return params.rgvarg[params.cArgs - 1 - position];
}

const VARIANT* propertyPutValue(const DISPPARAMS& params)
{
    for (UINT index = 0; index < params.cNamedArgs; ++index)
        if (params.rgdispidNamedArgs[index] == DISPID_PROPERTYPUT) return &params.rgvarg[index];
    return nullptr;
}

HRESULT textOf(const VARIANT& argument, std::wstring& text)
{
    UniqueVariant direct;
    // MinGW declares the source non-const; VariantCopyInd only reads it.
    HRESULT status = VariantCopyInd(direct.get(), const_cast<VARIANT*>(&argument));
    if (FAILED(status)) return status;
    UniqueVariant converted;
    status = VariantChangeType(converted.get(), direct.get(), 0, VT_BSTR);
    if (FAILED(status)) return status;
    const BSTR value = converted.get()->bstrVal;
    text.assign(value ? value : L"", SysStringLen(value));
    return S_OK;
}

HRESULT expectPositional(const DISPPARAMS& params, UINT fewest, UINT most)
{
    if (params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params.cArgs < fewest || params.cArgs > most) return DISP_E_BADPARAMCOUNT;
    return S_OK;
}

}  // namespace standin
