#pragma once
// How the tests reach the stand-in: by ProgID and IDispatch only, as the
// tool reaches the real object, with calls of an explicit dispatch kind.

#include "syshelper/Unique.h"

#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

namespace standin_test {

// COM for the test's thread, for the life of the object.
class ComApartment {
public:
    ComApartment() : status_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (SUCCEEDED(status_)) CoUninitialize();
    }

private:
    HRESULT status_;
};

// Arguments in the order the caller writes them; the strings are owned here.
class Arguments {
public:
    Arguments& text(const std::wstring& value);
    Arguments& textByReference(const std::wstring& value);
    Arguments& number(long value);
    Arguments& missing();

    const std::vector<VARIANT>& values() const { return values_; }

private:
    BSTR* newString(const std::wstring& value);

    std::vector<VARIANT> values_;
    std::vector<std::unique_ptr<UniqueBstr>> strings_;
};

HRESULT createShell(ComPtr<IDispatch>& shell);

// DISPID for `name`, or the failure of GetIDsOfNames.
HRESULT idOf(IDispatch* object, const wchar_t* name, DISPID& id);

// Calls `name` with the given kind. For DISPATCH_PROPERTYPUT the last
// argument is passed as the named argument DISPID_PROPERTYPUT.
HRESULT call(IDispatch* object, const wchar_t* name, WORD flags, const Arguments& arguments, VARIANT* result);

// "Environment" read as a property with `type`; empty on failure.
ComPtr<IDispatch> environment(IDispatch* shell, const std::wstring& type);

HRESULT readItem(IDispatch* collection, const std::wstring& name, std::wstring& value);
HRESULT writeItem(IDispatch* collection, const std::wstring& name, const std::wstring& value);
HRESULT removeItem(IDispatch* collection, const std::wstring& name);

// "_NewEnum" as a method, its result asked for IEnumVARIANT.
HRESULT enumeratorOf(IDispatch* collection, ComPtr<IEnumVARIANT>& enumerator);

// Every remaining item as text, one Next per item; stops at the first
// answer other than S_OK, which is returned.
HRESULT drainTexts(IEnumVARIANT* enumerator, std::vector<std::wstring>& texts);

}  // namespace standin_test
