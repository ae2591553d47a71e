#pragma once
// The red antivirus notice: a child window of the tool's own class that
// draws its text in red on black and reacts to no input.

#include <windows.h>

extern const wchar_t noticeLabelClass[];

bool registerNoticeLabelClass(HINSTANCE instance);

// Paints the label into any DC (its own, or a memory DC in a test): black
// where the DC may draw, then the label's text in red, one line, left-aligned
// and vertically centred.
void paintNoticeLabel(HWND label, HDC dc);
