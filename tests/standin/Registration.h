#pragma once
// Per-machine registration: Wine 8 does not merge the user's classes into
// HKEY_CLASSES_ROOT, so the stand-in goes to HKLM\Software\Classes. The ProgID's
// earlier class id is kept and put back when the stand-in is unregistered,
// so the system's own object returns.

#include <windows.h>

namespace standin {

HRESULT registerServer(HMODULE module);
HRESULT unregisterServer();

}  // namespace standin
