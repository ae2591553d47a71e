#pragma once
// What MainWindow looks like: its frame and one table of its four controls,
// which the window walks to build itself. Sizes are pixels at 96 DPI.

#include "app/Strings.h"

#include <windows.h>

namespace layout {

constexpr int windowWidth = 368;  // outer size, frame and caption included
constexpr int windowHeight = 162;
// A fixed frame: no WS_THICKFRAME and no WS_MAXIMIZEBOX.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace layout

// Child ids, named as the controls are in the window's description:
// 按钮1 configures, 编辑框1 holds the JDK folder, 按钮 opens the folder
// dialog, 标签1 is the antivirus notice.
namespace controlId {

constexpr int 按钮1 = 100;
constexpr int 编辑框1 = 110;
constexpr int 按钮 = 120;
constexpr int 标签1 = 130;

}  // namespace controlId

enum class ControlKind { pushButton, editBox, noticeLabel };

struct ControlDescription {
    int id;
    ControlKind kind;
    int left;  // in MainWindow's client coordinates
    int top;
    int width;
    int height;
    const wchar_t* text;
    DWORD style;  // on top of WS_CHILD | WS_CLIPSIBLINGS
    DWORD exStyle;
};

constexpr DWORD pushButtonStyle = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_TABSTOP;

// In creation order. The stacking order is the reverse (the notice on top),
// which has no visible effect since no two controls overlap. The notice
// reaches past the client area's right edge and is clipped there.
constexpr ControlDescription controlTable[] = {
    {controlId::按钮1, ControlKind::pushButton, 16, 63, 328, 40, strings::configureButton, pushButtonStyle, 0},
    {controlId::编辑框1, ControlKind::editBox, 16, 17, 248, 32, L"", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
     WS_EX_CLIENTEDGE},
    {controlId::按钮, ControlKind::pushButton, 269, 17, 75, 32, strings::browseButton, pushButtonStyle, 0},
    {controlId::标签1, ControlKind::noticeLabel, 16, 105, 432, 24, strings::antivirusNotice, 0, 0},
};

// The controls that take the focus, in the order that Tab follows.
constexpr int focusOrder[] = {controlId::按钮1, controlId::编辑框1, controlId::按钮};
