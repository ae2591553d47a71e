#include "tests/standin/ClassFactory.h"

#include "tests/standin/ShellObject.h"
#include "tests/standin/Switches.h"
#include "syshelper/Unique.h"

#include <new>

namespace standin {

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (switchOn(unavailable)) return CLASS_E_CLASSNOTAVAILABLE;
    ComPtr<IDispatch> shell = ComPtr<IDispatch>::attach(new (std::nothrow) ShellObject());
    if (!shell) return E_OUTOFMEMORY;
    return shell->QueryInterface(iid, object);
}

HRESULT ClassFactory::LockServer(BOOL lock)
{
    lockServer(lock != FALSE);
    return S_OK;
}

}  // namespace standin
