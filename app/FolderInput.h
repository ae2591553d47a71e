#pragma once
// Checks of the folder text made before anything is created or written.

#include <windows.h>

#include <string>

enum class FolderInputProblem {
    none,
    // Nothing but blanks: JAVA_HOME would be empty and PATH would gain "\bin".
    blank,
    // A character the ANSI code page lacks would reach the registry as '?'.
    notRepresentable,
};

bool isBlank(const std::wstring& text);

// True when every character of `text` converts to `codePage` exactly, with no
// default character and no best-fit look-alike in its place.
bool isRepresentableInCodePage(const std::wstring& text, UINT codePage);

FolderInputProblem checkFolderInput(const std::wstring& text, UINT codePage = CP_ACP);
