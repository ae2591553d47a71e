#include "tests/standin/DispatchObject.h"

namespace standin {
namespace {

bool sameNameIgnoringCase(const wchar_t* left, const wchar_t* right)
{
    return CompareStringOrdinal(left, -1, right, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

// Type information is optional for an automation object, and callers must
// manage with GetIDsOfNames alone.
HRESULT DispatchObject::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (!info) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT nameCount, LCID, DISPID* ids)
{
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || nameCount == 0) return E_INVALIDARG;
    // No member has named parameters, so any name after the first is unknown.
    for (UINT index = 0; index < nameCount; ++index) ids[index] = DISPID_UNKNOWN;
    if (!names[0]) return DISP_E_UNKNOWNNAME;
    for (size_t index = 0; index < memberCount_; ++index) {
        if (sameNameIgnoringCase(names[0], members_[index].name)) {
            ids[0] = members_[index].id;
            return nameCount == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO*, UINT* argumentError)
{
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!params) return E_INVALIDARG;
    const Member* member = find(id);
    // Callers such as VBScript combine DISPATCH_METHOD with DISPATCH_PROPERTYGET;
    // any one kind that the member declares is enough.
    if (!member || (flags & member->kinds) == 0) return DISP_E_MEMBERNOTFOUND;
    return invokeMember(id, flags, *params, result, argumentError);
}

const Member* DispatchObject::find(DISPID id) const
{
    for (size_t index = 0; index < memberCount_; ++index)
        if (members_[index].id == id) return &members_[index];
    return nullptr;
}

}  // namespace standin
