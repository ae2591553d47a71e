#include "ScriptedObject.h"

#include <algorithm>

namespace unittest {

ComPtr<ScriptedObject> ScriptedObject::make()
{
    return ComPtr<ScriptedObject>::attach(new ScriptedObject());
}

void ScriptedObject::addMember(const std::wstring& name, WORD kinds, Answer answer)
{
    members_.push_back({name, kinds, std::move(answer)});
}

std::vector<WORD> ScriptedObject::kindsTried(const std::wstring& member) const
{
    std::vector<WORD> kinds;
    for (const RecordedCall& call : calls_) {
        if (call.member == member) kinds.push_back(call.kind);
    }
    return kinds;
}

HRESULT ScriptedObject::QueryInterface(REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG ScriptedObject::AddRef()
{
    return ++references_;
}

ULONG ScriptedObject::Release()
{
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT ScriptedObject::GetTypeInfoCount(UINT* count)
{
    *count = 0;
    return S_OK;
}

HRESULT ScriptedObject::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT ScriptedObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (count != 1) return E_INVALIDARG;
    for (size_t index = 0; index < members_.size(); ++index) {
        if (_wcsicmp(members_[index].name.c_str(), names[0]) == 0) {
            ids[0] = static_cast<DISPID>(index + 1);
            return S_OK;
        }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

namespace {

std::wstring asString(VARIANT& value)
{
    UniqueVariant converted;
    if (FAILED(VariantChangeType(converted.get(), &value, 0, VT_BSTR))) return L"<not a string>";
    return std::wstring(converted.get()->bstrVal, SysStringLen(converted.get()->bstrVal));
}

}  // namespace

HRESULT ScriptedObject::Invoke(DISPID id, REFIID, LCID locale, WORD kind, DISPPARAMS* parameters, VARIANT* result,
                               EXCEPINFO*, UINT*)
{
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    const Member& member = members_[static_cast<size_t>(id - 1)];
    RecordedCall call{member.name, kind, locale, {}, {}};
    for (UINT index = parameters->cArgs; index > 0; --index) call.arguments.push_back(asString(parameters->rgvarg[index - 1]));
    call.namedArguments.assign(parameters->rgdispidNamedArgs, parameters->rgdispidNamedArgs + parameters->cNamedArgs);
    calls_.push_back(call);
    if (!(member.kinds & kind)) return DISP_E_MEMBERNOTFOUND;
    if (!member.answer) return S_OK;
    if (result) return member.answer(result);
    UniqueVariant ignored;
    return member.answer(ignored.get());
}

ScriptedObject::Answer answerText(const std::wstring& text)
{
    return [text](VARIANT* result) {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return S_OK;
    };
}

ScriptedObject::Answer answerNumber(double number)
{
    return [number](VARIANT* result) {
        result->vt = VT_R8;
        result->dblVal = number;
        return S_OK;
    };
}

ScriptedObject::Answer answerObject(const ComPtr<ScriptedObject>& object)
{
    return [object](VARIANT* result) {
        result->vt = VT_DISPATCH;
        result->pdispVal = object.get();
        object->AddRef();
        return S_OK;
    };
}

ScriptedObject::Answer answerFailure(HRESULT failure)
{
    return [failure](VARIANT*) { return failure; };
}

namespace {

class ScriptedFactory : public IClassFactory {
public:
    explicit ScriptedFactory(ComPtr<ScriptedObject> object) : object_(std::move(object)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (outer) return CLASS_E_NOAGGREGATION;
        return object_->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    virtual ~ScriptedFactory() = default;

    ComPtr<ScriptedObject> object_;
    ULONG references_ = 1;
};

}  // namespace

ClassStandIn::ClassStandIn(const wchar_t* progId, ComPtr<ScriptedObject> object)
    : factory_(ComPtr<IClassFactory>::attach(new ScriptedFactory(std::move(object))))
{
    CLSID classId;
    if (FAILED(CLSIDFromProgID(progId, &classId))) return;
    if (FAILED(CoRegisterClassObject(classId, factory_.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_)))
        cookie_ = 0;
}

ClassStandIn::~ClassStandIn()
{
    if (cookie_) CoRevokeClassObject(cookie_);
}

}  // namespace unittest
