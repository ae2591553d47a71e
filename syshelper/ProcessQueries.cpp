// getCommandLineArgs, getCurrentDirectory, getModulePath and getComSpec:
// direct Windows calls, no COM.

#include "syshelper/ProcessQueries.h"

#include "syshelper/Operations.h"
#include "syshelper/TextConversion.h"
#include "syshelper/Unique.h"

#include <psapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

namespace {

constexpr UINT chineseCodePage = 936;

// A fixed buffer as Windows calls get it: `spaces` blanks and one NUL.
Text blankBuffer(size_t spaces)
{
    return Text(spaces, ' ');
}

Text upToFirstNul(const Text& buffer)
{
    return Text(buffer.c_str());
}

}  // namespace

Text wideToText(const uint8_t* wideBytes, size_t byteCount)
{
    std::wstring units(byteCount / 2, L'\0');
    if (!units.empty()) RtlMoveMemory(&units[0], wideBytes, units.size() * sizeof(wchar_t));
    return upToFirstNul(toText(units, chineseCodePage, WC_COMPOSITECHECK));
}

Text extensionOfPath(const Text& path)
{
    return Text(PathFindExtensionA(path.c_str()));
}

Text fileNameOfPath(const Text& path, bool withExtension)
{
    const Text fileName(PathFindFileNameA(path.c_str()));
    if (withExtension) return fileName;
    return fileName.substr(0, fileName.size() - extensionOfPath(fileName).size());
}

Text processEnvironmentValue(const Text& name)
{
    // Read through the wide function and converted here: Wine 8's
    // GetEnvironmentVariableA cuts a value with double-byte characters to
    // its length in UTF-16 units. On Windows the two ways give the same bytes.
    const std::wstring wideName = toWide(name);
    std::wstring value(255, L' ');
    for (;;) {
        const DWORD size = static_cast<DWORD>(value.size() + 1);
        const DWORD answer = GetEnvironmentVariableW(wideName.c_str(), &value[0], size);
        if (answer == 0) return Text();
        if (answer < size) return upToFirstNul(toText(value.substr(0, answer)));
        // Too long for the buffer: Windows reported the size it needs.
        value.assign(answer, L' ');
    }
}

int32_t getCommandLineArgsOperation(SystemHelper*, TextList& args)
{
    args.clear();
    int argc = 0;
    LPWSTR* table = CommandLineToArgvW(GetCommandLineW(), &argc);
    const UniqueLocal tableOwner(reinterpret_cast<HLOCAL>(table));
    if (!table) return 0;
    // Index 0 is the program itself.
    for (int index = 1; index < argc; ++index) {
        const size_t byteCount = static_cast<size_t>(lstrlenW(table[index])) * 2;
        args.push_back(wideToText(reinterpret_cast<const uint8_t*>(table[index]), byteCount));
    }
    return static_cast<int32_t>(args.size());
}

Text getCurrentDirectoryOperation(SystemHelper*)
{
    Text buffer = blankBuffer(255);
    DWORD size = 255;
    for (;;) {
        const DWORD answer = GetCurrentDirectoryA(size, &buffer[0]);
        if (answer == 0) return Text();
        if (answer < size) return upToFirstNul(buffer);
        // Too long for the buffer: Windows reported the size it needs.
        buffer = blankBuffer(answer);
        size = answer + 1;
    }
}

Text getModulePathOperation(SystemHelper*, bool fullPath)
{
    // A longer path is cut by Windows to fit, NUL included.
    Text buffer = blankBuffer(256);
    const DWORD answer =
        GetModuleFileNameExA(GetCurrentProcess(), GetModuleHandleA(nullptr), &buffer[0], 256);
    if (answer == 0) return Text();
    const Text path = upToFirstNul(buffer);
    return fullPath ? path : fileNameOfPath(path, true);
}

Text getComSpecOperation(SystemHelper*)
{
    return processEnvironmentValue("COMSPEC");
}
