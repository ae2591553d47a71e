#include "syshelper/MessagePump.h"

void processMessage(const MSG& msg)
{
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void processPendingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return;
        if (msg.message == WM_QUIT) {
            // Another thread posted it between the two looks: put it back.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        processMessage(msg);
    }
}
