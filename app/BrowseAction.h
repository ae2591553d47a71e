#pragma once
// The shell's folder dialog, shown modally over the whole program.

#include <string>

// The chosen folder's (or, with includeFiles, file's) full path exactly as
// the shell gives it: no trailing backslash except on a drive root. Empty
// when the dialog was cancelled or closed, or the chosen item has no
// file-system path (a virtual folder such as the network).
std::wstring browseForFolder(const wchar_t* title, bool includeFiles);
