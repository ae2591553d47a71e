#include "app/FolderInput.h"

#include <algorithm>

namespace {

bool isBlankCharacter(wchar_t c)
{
    // U+3000 is the full-width space a Chinese input method types.
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' ||
           c == L'\u00A0' || c == L'\u3000';
}

int convertedLength(const std::wstring& text, UINT codePage, DWORD flags, BOOL* usedDefault)
{
    return WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                               usedDefault);
}

}  // namespace

bool isBlank(const std::wstring& text)
{
    return std::all_of(text.begin(), text.end(), isBlankCharacter);
}

bool isRepresentableInCodePage(const std::wstring& text, UINT codePage)
{
    if (text.empty()) return true;
    const UINT resolved = codePage == CP_ACP ? GetACP() : codePage;
    // UTF-8 (an ANSI code page on systems with the worldwide UTF-8 option)
    // holds every character and refuses the default-character query; only a
    // lone surrogate cannot be converted.
    if (resolved == CP_UTF8) return convertedLength(text, resolved, WC_ERR_INVALID_CHARS, nullptr) > 0;

    BOOL usedDefault = FALSE;
    const int length = convertedLength(text, resolved, WC_NO_BEST_FIT_CHARS, &usedDefault);
    return length > 0 && !usedDefault;
}

FolderInputProblem checkFolderInput(const std::wstring& text, UINT codePage)
{
    if (isBlank(text)) return FolderInputProblem::blank;
    if (!isRepresentableInCodePage(text, codePage)) return FolderInputProblem::notRepresentable;
    return FolderInputProblem::none;
}
