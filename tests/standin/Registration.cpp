#include "tests/standin/Registration.h"

#include "tests/standin/StandInClsid.h"
#include "tests/support/Registry.h"

#include <objbase.h>

#include <optional>
#include <string>

namespace standin {
namespace {

using testsupport::RegistryLocation;
using testsupport::StoredValue;

const wchar_t* const classesKey = L"Software\\Classes\\";
const RegistryLocation replacedClsid{HKEY_LOCAL_MACHINE, L"Software\\Zovrel\\ShellStandIn"};
const wchar_t* const replacedClsidName = L"ReplacedClsid";
const wchar_t* const defaultValue = L"";

std::wstring clsidText()
{
    wchar_t text[40] = {};
    StringFromGUID2(shellStandInClsid, text, 40);
    return text;
}

std::wstring classKey()
{
    return std::wstring(classesKey) + L"CLSID\\" + clsidText();
}

std::wstring progIdClsidKey()
{
    return std::wstring(classesKey) + shellProgId + L"\\CLSID";
}

HRESULT setText(const std::wstring& key, const wchar_t* name, const std::wstring& text)
{
    const LONG status = testsupport::writeValue({HKEY_LOCAL_MACHINE, key.c_str()}, name, StoredValue{REG_SZ, text});
    return HRESULT_FROM_WIN32(status);
}

std::optional<std::wstring> textAt(const RegistryLocation& where, const wchar_t* name)
{
    std::optional<StoredValue> stored = testsupport::readValue(where, name);
    if (!stored || stored->type != REG_SZ) return std::nullopt;
    return stored->data;
}

std::wstring modulePath(HMODULE module)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

// Remembers which class the ProgID named before us, once: registering twice
// must not remember the stand-in itself.
HRESULT rememberReplacedClass()
{
    const std::wstring key = progIdClsidKey();
    const std::optional<std::wstring> current = textAt({HKEY_LOCAL_MACHINE, key.c_str()}, defaultValue);
    if (!current || *current == clsidText()) return S_OK;
    return HRESULT_FROM_WIN32(testsupport::writeValue(replacedClsid, replacedClsidName, StoredValue{REG_SZ, *current}));
}

HRESULT restoreReplacedClass()
{
    const std::wstring key = progIdClsidKey();
    const RegistryLocation progIdClsid{HKEY_LOCAL_MACHINE, key.c_str()};
    if (textAt(progIdClsid, defaultValue) != clsidText()) return S_OK;
    const std::optional<std::wstring> replaced = textAt(replacedClsid, replacedClsidName);
    const LONG status = replaced ? testsupport::writeValue(progIdClsid, defaultValue, StoredValue{REG_SZ, *replaced})
                                 : RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(classesKey) + shellProgId).c_str());
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    return HRESULT_FROM_WIN32(testsupport::deleteValue(replacedClsid, replacedClsidName));
}

}  // namespace

HRESULT registerServer(HMODULE module)
{
    const std::wstring path = modulePath(module);
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    const std::wstring key = classKey();
    const struct {
        std::wstring key;
        const wchar_t* name;
        std::wstring text;
    } values[] = {
        {key, defaultValue, L"Zovrel test stand-in for the WScript.Shell object"},
        {key + L"\\InprocServer32", defaultValue, path},
        {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {key + L"\\ProgID", defaultValue, shellProgId},
        {progIdClsidKey(), defaultValue, clsidText()},
    };
    HRESULT status = rememberReplacedClass();
    for (const auto& value : values) {
        if (FAILED(status)) return status;
        status = setText(value.key, value.name, value.text);
    }
    return status;
}

HRESULT unregisterServer()
{
    const HRESULT status = restoreReplacedClass();
    if (FAILED(status)) return status;
    const LONG deleted = RegDeleteTreeW(HKEY_LOCAL_MACHINE, classKey().c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(deleted);
}

}  // namespace standin
