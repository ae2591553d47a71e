#pragma once
// Late-bound calls by member name on automation objects, the way the helper
// object talks to "WScript.Shell" and its environment collections.
//
// Every call asks the referenced object for IDispatch first, looks the member
// up with GetIDsOfNames under the user's default locale, and tries the
// dispatch kinds of its call kind in order until one binds (that is, until
// Invoke answers anything but DISP_E_MEMBERNOTFOUND). Text arguments and
// results are converted between the active ANSI code page and UTF-16.
//
// Each call returns the HRESULT of what failed (S_OK when nothing did) and,
// on failure, leaves its failure value in the result: an empty reference, an
// empty text or 0.

#include "syshelper/Text.h"
#include "syshelper/Unique.h"

#include <utility>
#include <vector>

class AutomationObject {
public:
    AutomationObject() = default;
    explicit AutomationObject(ComPtr<IUnknown> object) : object_(std::move(object)) {}

    // CLSIDFromProgID, CoCreateInstance for IUnknown with CLSCTX_ALL (once
    // more with in-process server, handler and local server when that is
    // refused as an invalid argument), then OleRun.
    static HRESULT create(const wchar_t* progId, AutomationObject& created);

    bool empty() const { return !object_; }
    IUnknown* get() const { return object_.get(); }
    void release() { object_.reset(); }

    // Method; else property read, property write, property write by reference.
    HRESULT callMethodForObject(const wchar_t* member, const TextList& arguments, AutomationObject& result) const;
    // Property read; else method.
    HRESULT readPropertyText(const wchar_t* member, const TextList& arguments, Text& result) const;
    // Property read; else method.
    HRESULT readPropertyNumber(const wchar_t* member, const TextList& arguments, double& result) const;
    // Method; else property read, property write, property write by
    // reference. A call that returns nothing gives 0.
    HRESULT callMethodForNumber(const wchar_t* member, const TextList& arguments, double& result) const;
    // Property write (the last argument as the named DISPID_PROPERTYPUT
    // argument); else property write by reference; else method.
    HRESULT writeProperty(const wchar_t* member, const TextList& arguments) const;

private:
    // Tries the dispatch kinds in the order given.
    HRESULT invoke(const wchar_t* member, const std::vector<WORD>& kinds, const TextList& arguments,
                   VARIANT* result) const;

    ComPtr<IUnknown> object_;
};

// Conversions between texts of the active ANSI code page and UTF-16.
UniqueBstr textToBstr(const Text& text);
Text bstrToText(BSTR string);
