#pragma once
// Reference counting and QueryInterface for the stand-in's objects, each of
// which exposes one interface besides IUnknown. Every live object keeps the
// DLL loaded (DllCanUnloadNow).

#include <windows.h>
#include <unknwn.h>

namespace standin {

void objectCreated();
void objectDestroyed();

template <typename Interface>
class ComObject : public Interface {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object) return E_POINTER;
        if (iid != IID_IUnknown && iid != __uuidof(Interface)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    // A new object holds one reference, which its creator owns.
    ComObject() { objectCreated(); }
    virtual ~ComObject() { objectDestroyed(); }

private:
    LONG references_ = 1;
};

}  // namespace standin
