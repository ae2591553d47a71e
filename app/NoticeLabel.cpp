#include "app/NoticeLabel.h"

#include "app/PaintScope.h"

#include <string>

const wchar_t noticeLabelClass[] = L"ZovrelNoticeLabel";

namespace {

constexpr COLORREF noticeTextColour = RGB(255, 0, 0);

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

LRESULT CALLBACK noticeLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(label);
        paintNoticeLabel(label, paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        paintNoticeLabel(label, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;  // painting covers the whole label
    default:
        return DefWindowProcW(label, message, wParam, lParam);
    }
}

}  // namespace

bool registerNoticeLabelClass(HINSTANCE instance)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, noticeLabelClass, &existing)) return true;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = noticeLabelProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = noticeLabelClass;
    return RegisterClassExW(&windowClass) != 0;
}

void paintNoticeLabel(HWND label, HDC dc)
{
    RECT clip{};
    if (GetClipBox(dc, &clip) == ERROR || IsRectEmpty(&clip)) return;

    RECT client{};
    GetClientRect(label, &client);
    RECT background{};
    if (IntersectRect(&background, &clip, &client)) {
        FillRect(dc, &background, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }

    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, noticeTextColour);
    const std::wstring text = windowText(label);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}
