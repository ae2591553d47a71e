#pragma once
// An automation object of the tests' own, reached only through IDispatch by
// name like the shell object: each member answers the dispatch kinds it is
// given (DISP_E_MEMBERNOTFOUND for the others) and every Invoke is recorded,
// so a test sees which kinds were tried, in which order, with which
// arguments. It also serves as a class object, so a test can stand it in
// for "WScript.Shell" inside its own process.

#include "syshelper/Unique.h"

#include <functional>
#include <string>
#include <vector>

namespace unittest {

struct RecordedCall {
    std::wstring member;
    WORD kind = 0;
    LCID locale = 0;
    std::vector<std::wstring> arguments;  // in call order, as strings
    std::vector<DISPID> namedArguments;
};

class ScriptedObject : public IDispatch {
public:
    // Fills the result of an Invoke that bound; returns its HRESULT.
    using Answer = std::function<HRESULT(VARIANT* result)>;

    static ComPtr<ScriptedObject> make();

    // `kinds`: a mask of the DISPATCH_* kinds the member binds to.
    void addMember(const std::wstring& name, WORD kinds, Answer answer = {});
    const std::vector<RecordedCall>& calls() const { return calls_; }
    std::vector<WORD> kindsTried(const std::wstring& member) const;
    ULONG references() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD kind, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT*) override;

private:
    ScriptedObject() = default;
    virtual ~ScriptedObject() = default;

    struct Member {
        std::wstring name;
        WORD kinds;
        Answer answer;
    };

    std::vector<Member> members_;
    std::vector<RecordedCall> calls_;
    ULONG references_ = 1;
};

// Answers that put a value into the result.
ScriptedObject::Answer answerText(const std::wstring& text);
ScriptedObject::Answer answerNumber(double number);
ScriptedObject::Answer answerObject(const ComPtr<ScriptedObject>& object);
ScriptedObject::Answer answerFailure(HRESULT failure);

// Makes `object` what CoCreateInstance returns for the class of `progId`
// in this process, for as long as the registration lives.
class ClassStandIn {
public:
    ClassStandIn(const wchar_t* progId, ComPtr<ScriptedObject> object);
    ClassStandIn(const ClassStandIn&) = delete;
    ClassStandIn& operator=(const ClassStandIn&) = delete;
    ~ClassStandIn();
    bool registered() const { return cookie_ != 0; }

private:
    ComPtr<IClassFactory> factory_;
    DWORD cookie_ = 0;
};

}  // namespace unittest
