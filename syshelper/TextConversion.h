#pragma once
// Conversions between UTF-16 and the byte texts of a code page, by default
// the system's active ANSI code page. A conversion that fails gives the empty
// result; the byte text keeps every byte the conversion produced, NULs too.

#include "syshelper/Text.h"

#include <windows.h>

#include <string>

std::wstring toWide(const char* bytes, size_t count, UINT codePage = CP_ACP);
std::wstring toWide(const Text& text, UINT codePage = CP_ACP);
Text toText(const wchar_t* units, size_t count, UINT codePage = CP_ACP, DWORD flags = 0);
Text toText(const std::wstring& wide, UINT codePage = CP_ACP, DWORD flags = 0);
