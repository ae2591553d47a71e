#include "app/MainWindow.h"

#include "app/Actions.h"
#include "app/ControlTable.h"
#include "app/NoticeLabel.h"
#include "app/PaintScope.h"
#include "app/Strings.h"

#include <commctrl.h>

#include <iterator>

namespace {

constexpr wchar_t mainWindowClass[] = L"ZovrelJavaEnvWindow";
constexpr DWORD childStyle = WS_CHILD | WS_CLIPSIBLINGS;
constexpr int iconSize = 128;  // the stored image's own size; Windows scales it where it draws it

// The edit box's colours are fixed values, not system colours: the box is
// meant to look the same on every colour scheme.
constexpr COLORREF editTextColour = RGB(0, 0, 0);
constexpr COLORREF editBackgroundColour = RGB(255, 255, 255);

HFONT defaultGuiFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HBRUSH blackBrush()
{
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

bool registerMainWindowClass(HINSTANCE instance, WNDPROC windowProc)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, mainWindowClass, &existing)) return true;

    // No class brush: the window paints its black background itself.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = mainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

// Centred on the primary screen; the divisions truncate toward zero, so on a
// screen narrower than the window the left edge is negative.
POINT centredPosition()
{
    return {(GetSystemMetrics(SM_CXSCREEN) - layout::windowWidth) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - layout::windowHeight) / 2};
}

// Both buttons share this font; an empty face name lets the font mapper
// choose one that has the captions' characters.
UniqueFont createButtonFont()
{
    LOGFONTW font{};
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = PROOF_QUALITY;
    return UniqueFont(CreateFontIndirectW(&font));
}

UniqueIcon loadAppIcon(HINSTANCE instance)
{
    HANDLE icon = LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR);
    if (!icon) icon = LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
    return UniqueIcon(static_cast<HICON>(icon));
}

const wchar_t* windowClassOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::pushButton:
        return WC_BUTTONW;
    case ControlKind::editBox:
        return WC_EDITW;
    case ControlKind::noticeLabel:
        break;
    }
    return noticeLabelClass;
}

std::wstring wideWindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool isNavigationChar(WPARAM character)
{
    return character == L'\t' || character == L'\r' || character == L'\n' || character == 0x1B;
}

bool isNavigationKey(const MSG* message)
{
    if (!message || message->message != WM_KEYDOWN) return false;
    return message->wParam == VK_TAB || message->wParam == VK_ESCAPE || message->wParam == VK_RETURN;
}

}  // namespace

bool MainWindow::create(HINSTANCE instance)
{
    if (!registerMainWindowClass(instance, windowProc) || !registerNoticeLabelClass(instance)) return false;
    if (!createFrame(instance)) return false;
    setIcons(instance);
    SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(defaultGuiFont()), FALSE);
    if (!createControls(instance)) {
        window_.reset();
        return false;
    }
    arrangeStacking();
    showAll();
    quitOnDestroy_ = true;
    return true;
}

HWND MainWindow::handle() const
{
    return window_.get();
}

HWND MainWindow::control(int id) const
{
    return GetDlgItem(handle(), id);
}

Text MainWindow::getEditText() const
{
    HWND edit = control(controlId::编辑框1);
    Text text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring MainWindow::getEditTextWide() const
{
    return wideWindowText(control(controlId::编辑框1));
}

void MainWindow::setEditText(const Text& text)
{
    SetWindowTextA(control(controlId::编辑框1), text.c_str());
}

void MainWindow::setEditTextWide(const std::wstring& text)
{
    SetWindowTextW(control(controlId::编辑框1), text.c_str());
}

bool MainWindow::createFrame(HINSTANCE instance)
{
    const POINT position = centredPosition();
    HWND window = CreateWindowExW(0, mainWindowClass, strings::windowTitle, layout::windowStyle, position.x,
                                  position.y, layout::windowWidth, layout::windowHeight, nullptr, nullptr,
                                  instance, this);
    if (!window) return false;
    window_.reset(window);

    RECT outer{};
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != layout::windowWidth || outer.bottom - outer.top != layout::windowHeight) {
        MoveWindow(window, position.x, position.y, layout::windowWidth, layout::windowHeight, FALSE);
    }
    return true;
}

void MainWindow::setIcons(HINSTANCE instance)
{
    bigIcon_ = loadAppIcon(instance);
    smallIcon_ = loadAppIcon(instance);
    SendMessageW(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

bool MainWindow::createControls(HINSTANCE instance)
{
    buttonFont_ = createButtonFont();
    editBrush_.reset(CreateSolidBrush(editBackgroundColour));
    for (const ControlDescription& description : controlTable) {
        if (!createControl(instance, description)) return false;
    }
    return true;
}

bool MainWindow::createControl(HINSTANCE instance, const ControlDescription& description)
{
    HWND created = CreateWindowExW(description.exStyle, windowClassOf(description.kind), description.text,
                                   childStyle | description.style, description.left, description.top,
                                   description.width, description.height, handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(description.id)), instance,
                                   nullptr);
    if (!created) return false;

    switch (description.kind) {
    case ControlKind::pushButton: {
        HFONT font = buttonFont_ ? buttonFont_.get() : defaultGuiFont();
        SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        break;
    }
    case ControlKind::editBox:
        setUpEditBox(created);
        break;
    case ControlKind::noticeLabel:
        return true;  // reacts to no input, so it needs no keyboard handling
    }
    return SetWindowSubclass(created, controlProc, 0, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void MainWindow::setUpEditBox(HWND edit) const
{
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(defaultGuiFont()), TRUE);
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);  // 0: the system's maximum
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);

    // A sunken edge and nothing else around the box.
    const LONG_PTR exStyle = GetWindowLongPtrW(edit, GWL_EXSTYLE);
    SetWindowLongPtrW(edit, GWL_EXSTYLE, (exStyle | WS_EX_CLIENTEDGE) & ~(WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE));
    SetWindowLongPtrW(edit, GWL_STYLE, GetWindowLongPtrW(edit, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER));
    SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Top first: the reverse of the creation order, the notice on top.
void MainWindow::arrangeStacking() const
{
    HWND above = HWND_TOP;
    for (auto it = std::rbegin(controlTable); it != std::rend(controlTable); ++it) {
        HWND current = control(it->id);
        SetWindowPos(current, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = current;
    }
}

void MainWindow::showAll() const
{
    for (const ControlDescription& description : controlTable) {
        ShowWindow(control(description.id), SW_SHOWNA);
    }
    ShowWindow(handle(), SW_SHOW);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->handleMessage(window, message, wParam, lParam);
}

LRESULT MainWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(window);
        paintBackground(paint.dc(), paint.dirty());
        return 0;
    }
    case WM_PRINTCLIENT: {
        // Themed buttons ask for the parent's background behind their corners.
        RECT client{};
        GetClientRect(window, &client);
        paintBackground(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_CTLCOLOREDIT:
        return onEditColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    case WM_SETFOCUS:
        restoreFocus();
        return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
        if (consumeKeyboard(message, wParam)) return 0;
        break;
    case WM_DESTROY:
        if (quitOnDestroy_) PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self)
{
    return reinterpret_cast<MainWindow*>(self)->handleControlMessage(control, message, wParam, lParam);
}

// Keyboard handling lives here, in the controls' own procedures, so every
// loop that dispatches this thread's messages gets it, not only the main one.
LRESULT MainWindow::handleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: {
        // Should a dialog manager ever see these keys, they stay ours.
        const LRESULT code = DefSubclassProc(control, message, wParam, lParam);
        return isNavigationKey(reinterpret_cast<const MSG*>(lParam)) ? code | DLGC_WANTALLKEYS : code;
    }
    case WM_KEYDOWN:
    case WM_CHAR:
        if (consumeKeyboard(message, wParam)) return 0;
        break;
    case WM_SETFOCUS:
        lastFocus_ = control;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, controlProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

// The window's keyboard handling, the same for the window and its controls.
// The characters of Tab, Enter and Esc are swallowed too: they would beep in
// the edit box.
bool MainWindow::consumeKeyboard(UINT message, WPARAM wParam)
{
    return message == WM_CHAR ? isNavigationChar(wParam) : handleNavigationKey(wParam);
}

// Tab and Shift+Tab move the focus, Esc closes the window; Enter and every
// other key go to the focused control unchanged.
bool MainWindow::handleNavigationKey(WPARAM key)
{
    switch (key) {
    case VK_TAB:
        moveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_ESCAPE:
        SendMessageW(handle(), WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

void MainWindow::onCommand(WPARAM wParam)
{
    if (HIWORD(wParam) != BN_CLICKED) return;
    switch (LOWORD(wParam)) {
    case controlId::按钮1:
        onConfigureClicked(*this);
        break;
    case controlId::按钮:
        onBrowseClicked(*this);
        break;
    default:
        break;
    }
}

LRESULT MainWindow::onEditColour(HDC dc, HWND edit) const
{
    if (edit != control(controlId::编辑框1)) {
        return DefWindowProcW(handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    }
    SetTextColor(dc, editTextColour);
    SetBkColor(dc, editBackgroundColour);
    return reinterpret_cast<LRESULT>(editBrush_.get());
}

void MainWindow::paintBackground(HDC dc, const RECT& area) const
{
    FillRect(dc, &area, blackBrush());
}

void MainWindow::moveFocus(bool backward) const
{
    constexpr int count = static_cast<int>(std::size(focusOrder));
    const int focusedId = GetDlgCtrlID(GetFocus());
    // From outside the order, forward starts at the first, backward at the last.
    int index = backward ? 0 : count - 1;
    for (int i = 0; i < count; ++i) {
        if (focusOrder[i] == focusedId) index = i;
    }
    for (int step = 1; step <= count; ++step) {
        const int next = ((backward ? index - step : index + step) % count + count) % count;
        HWND candidate = control(focusOrder[next]);
        if (canTakeFocus(candidate)) {
            SetFocus(candidate);
            return;
        }
    }
}

// The focus goes back to the control that had it before the window lost it,
// or else to the first control that can take it.
void MainWindow::restoreFocus() const
{
    if (lastFocus_ && IsChild(handle(), lastFocus_) && canTakeFocus(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    for (int id : focusOrder) {
        HWND candidate = control(id);
        if (canTakeFocus(candidate)) {
            SetFocus(candidate);
            return;
        }
    }
}

bool MainWindow::canTakeFocus(HWND candidate) const
{
    return candidate && IsWindowVisible(candidate) && IsWindowEnabled(candidate);
}
