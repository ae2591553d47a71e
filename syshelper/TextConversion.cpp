#include "syshelper/TextConversion.h"

std::wstring toWide(const char* bytes, size_t count, UINT codePage)
{
    const int byteCount = static_cast<int>(count);
    const int unitCount = byteCount == 0 ? 0 : MultiByteToWideChar(codePage, 0, bytes, byteCount, nullptr, 0);
    if (unitCount <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(unitCount), L'\0');
    MultiByteToWideChar(codePage, 0, bytes, byteCount, &wide[0], unitCount);
    return wide;
}

std::wstring toWide(const Text& text, UINT codePage)
{
    return toWide(text.data(), text.size(), codePage);
}

Text toText(const wchar_t* units, size_t count, UINT codePage, DWORD flags)
{
    const int unitCount = static_cast<int>(count);
    const int byteCount =
        unitCount == 0 ? 0 : WideCharToMultiByte(codePage, flags, units, unitCount, nullptr, 0, nullptr, nullptr);
    if (byteCount <= 0) return Text();
    Text text(static_cast<size_t>(byteCount), '\0');
    WideCharToMultiByte(codePage, flags, units, unitCount, &text[0], byteCount, nullptr, nullptr);
    return text;
}

Text toText(const std::wstring& wide, UINT codePage, DWORD flags)
{
    return toText(wide.data(), wide.size(), codePage, flags);
}
