#include "syshelper/Automation.h"

#include "syshelper/TextConversion.h"

#include <oleauto.h>

#include <vector>

namespace {


// The dispatch kinds of each call kind, in the order they are tried.
const std::vector<WORD> methodFirst{DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUTREF};
const std::vector<WORD> propertyReadFirst{DISPATCH_PROPERTYGET, DISPATCH_METHOD};
const std::vector<WORD> propertyWriteFirst{DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUTREF, DISPATCH_METHOD};

bool isPropertyWrite(WORD kind)
{
    return kind == DISPATCH_PROPERTYPUT || kind == DISPATCH_PROPERTYPUTREF;
}

// The arguments of one Invoke, last first as DISPPARAMS wants them. The
// VARIANTs only borrow the strings, which the owners below release.
class InvokeArguments {
public:
    explicit InvokeArguments(const TextList& texts)
    {
        for (auto text = texts.rbegin(); text != texts.rend(); ++text) {
            strings_.push_back(textToBstr(*text));
            if (!strings_.back()) complete_ = false;
            VARIANT borrowed;
            VariantInit(&borrowed);
            borrowed.vt = VT_BSTR;
            borrowed.bstrVal = strings_.back().get();
            variants_.push_back(borrowed);
        }
    }

    bool complete() const { return complete_; }

    DISPPARAMS parametersFor(WORD kind, DISPID* namedPut)
    {
        DISPPARAMS parameters{};
        parameters.rgvarg = variants_.empty() ? nullptr : variants_.data();
        parameters.cArgs = static_cast<UINT>(variants_.size());
        // A property write passes its value (the last argument, first in
        // rgvarg) as the named argument DISPID_PROPERTYPUT.
        if (isPropertyWrite(kind) && !variants_.empty()) {
            *namedPut = DISPID_PROPERTYPUT;
            parameters.rgdispidNamedArgs = namedPut;
            parameters.cNamedArgs = 1;
        }
        return parameters;
    }

private:
    std::vector<UniqueBstr> strings_;
    std::vector<VARIANT> variants_;
    bool complete_ = true;
};

HRESULT changeType(const VARIANT& source, VARTYPE type, UniqueVariant& converted)
{
    // MinGW declares the source without const; it is only read.
    return VariantChangeType(converted.put(), const_cast<VARIANT*>(&source), 0, type);
}

}  // namespace

UniqueBstr textToBstr(const Text& text)
{
    const std::wstring wide = toWide(text);
    return UniqueBstr(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
}

Text bstrToText(BSTR string)
{
    Text text = toText(string, SysStringLen(string));
    // A text ends at its first NUL, wherever the string had one.
    text.resize(text.find('\0') == Text::npos ? text.size() : text.find('\0'));
    return text;
}

HRESULT AutomationObject::create(const wchar_t* progId, AutomationObject& created)
{
    created.release();
    CLSID classId;
    HRESULT result = CLSIDFromProgID(progId, &classId);
    if (FAILED(result)) return result;
    ComPtr<IUnknown> object;
    result = CoCreateInstance(classId, nullptr, CLSCTX_ALL, IID_IUnknown, object.putVoid());
    if (result == E_INVALIDARG) {
        // Some systems refuse the remote-server bit of CLSCTX_ALL.
        constexpr DWORD localContexts = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
        result = CoCreateInstance(classId, nullptr, localContexts, IID_IUnknown, object.putVoid());
    }
    if (FAILED(result)) return result;
    // Puts a local server's object into its running state; in-process
    // objects without IRunnableObject simply count as running.
    OleRun(object.get());
    created = AutomationObject(std::move(object));
    return S_OK;
}

HRESULT AutomationObject::invoke(const wchar_t* member, const std::vector<WORD>& kinds,
                                 const TextList& arguments, VARIANT* result) const
{
    if (!object_) return E_POINTER;
    ComPtr<IDispatch> dispatch = object_.as<IDispatch>();
    if (!dispatch) return E_NOINTERFACE;

    const LCID locale = GetUserDefaultLCID();
    LPOLESTR name = const_cast<LPOLESTR>(member);
    DISPID memberId = DISPID_UNKNOWN;
    HRESULT status = dispatch->GetIDsOfNames(IID_NULL, &name, 1, locale, &memberId);
    if (FAILED(status)) return status;

    InvokeArguments invokeArguments(arguments);
    if (!invokeArguments.complete()) return E_OUTOFMEMORY;
    status = DISP_E_MEMBERNOTFOUND;
    for (WORD kind : kinds) {
        DISPID namedPut = DISPID_UNKNOWN;
        DISPPARAMS parameters = invokeArguments.parametersFor(kind, &namedPut);
        VARIANT* kindResult = isPropertyWrite(kind) ? nullptr : result;
        status = dispatch->Invoke(memberId, IID_NULL, locale, kind, &parameters, kindResult, nullptr, nullptr);
        if (status != DISP_E_MEMBERNOTFOUND) break;
    }
    return status;
}

HRESULT AutomationObject::callMethodForObject(const wchar_t* member, const TextList& arguments,
                                              AutomationObject& result) const
{
    result.release();
    UniqueVariant answer;
    HRESULT status = invoke(member, methodFirst, arguments, answer.get());
    if (FAILED(status)) return status;
    UniqueVariant converted;
    status = changeType(*answer.get(), VT_UNKNOWN, converted);
    if (FAILED(status)) return status;
    if (!converted.get()->punkVal) return E_POINTER;
    IUnknown* object = converted.get()->punkVal;
    object->AddRef();
    result = AutomationObject(ComPtr<IUnknown>::attach(object));
    return S_OK;
}

HRESULT AutomationObject::readPropertyText(const wchar_t* member, const TextList& arguments, Text& result) const
{
    result.clear();
    UniqueVariant answer;
    HRESULT status = invoke(member, propertyReadFirst, arguments, answer.get());
    if (FAILED(status)) return status;
    if (answer.get()->vt == VT_BSTR) {
        result = bstrToText(answer.get()->bstrVal);
        return S_OK;
    }
    UniqueVariant converted;
    status = changeType(*answer.get(), VT_BSTR, converted);
    if (FAILED(status)) return status;
    result = bstrToText(converted.get()->bstrVal);
    return S_OK;
}

namespace {

HRESULT numberOf(const VARIANT& answer, double& result)
{
    UniqueVariant converted;
    HRESULT status = changeType(answer, VT_R8, converted);
    if (FAILED(status)) return status;
    result = converted.get()->dblVal;
    return S_OK;
}

}  // namespace

HRESULT AutomationObject::readPropertyNumber(const wchar_t* member, const TextList& arguments, double& result) const
{
    result = 0;
    UniqueVariant answer;
    HRESULT status = invoke(member, propertyReadFirst, arguments, answer.get());
    if (FAILED(status)) return status;
    return numberOf(*answer.get(), result);
}

HRESULT AutomationObject::callMethodForNumber(const wchar_t* member, const TextList& arguments, double& result) const
{
    result = 0;
    UniqueVariant answer;
    HRESULT status = invoke(member, methodFirst, arguments, answer.get());
    if (FAILED(status)) return status;
    if (answer.get()->vt == VT_EMPTY) return S_OK;
    return numberOf(*answer.get(), result);
}

HRESULT AutomationObject::writeProperty(const wchar_t* member, const TextList& arguments) const
{
    return invoke(member, propertyWriteFirst, arguments, nullptr);
}
