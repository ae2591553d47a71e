// The DLL's entry points: the class factory for the stand-in's CLSID, the
// unload check, and (un)registration under the ProgID "WScript.Shell".

#include "tests/standin/ClassFactory.h"
#include "tests/standin/Registration.h"
#include "tests/standin/StandInClsid.h"
#include "tests/standin/Switches.h"
#include "syshelper/Unique.h"

#include <new>

namespace standin {
namespace {

HMODULE thisModule = nullptr;
LONG liveObjects = 0;
LONG serverLocks = 0;

}  // namespace

void objectCreated()
{
    InterlockedIncrement(&liveObjects);
}

void objectDestroyed()
{
    InterlockedDecrement(&liveObjects);
}

void lockServer(bool lock)
{
    if (lock)
        InterlockedIncrement(&serverLocks);
    else
        InterlockedDecrement(&serverLocks);
}

}  // namespace standin

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        standin::thisModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    // As if the class were not registered at all.
    if (clsid != standin::shellStandInClsid || standin::switchOn(standin::unavailable))
        return CLASS_E_CLASSNOTAVAILABLE;
    ComPtr<IClassFactory> factory = ComPtr<IClassFactory>::attach(new (std::nothrow) standin::ClassFactory());
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return standin::liveObjects == 0 && standin::serverLocks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return standin::registerServer(standin::thisModule);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return standin::unregisterServer();
}
