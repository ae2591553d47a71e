#pragma once
// IDispatch by name without type information, the way a caller of the real
// shell object reaches it: members are found by name without regard to case,
// and a call whose dispatch kind the member does not declare is refused with
// DISP_E_MEMBERNOTFOUND, as a type-library driven Invoke refuses it.

#include "tests/standin/ComObject.h"

#include <oaidl.h>

namespace standin {

struct Member {
    const wchar_t* name;
    DISPID id;
    WORD kinds;  // DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT...
};

class DispatchObject : public ComObject<IDispatch> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT nameCount, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

protected:
    DispatchObject(const Member* members, size_t memberCount) : members_(members), memberCount_(memberCount) {}

    // Called once the member exists and accepts one of the call's kinds.
    virtual HRESULT invokeMember(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result,
                                 UINT* argumentError) = 0;

private:
    const Member* find(DISPID id) const;

    const Member* members_;
    size_t memberCount_;
};

}  // namespace standin
