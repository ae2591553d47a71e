#pragma once
// The one step that every message loop of the tool performs for a message,
// shared by the main loop and by the listing that dispatches pending
// messages between items. Keyboard handling lives in the controls' own
// window procedures, so translating and dispatching is the whole step.

#include <windows.h>

void processMessage(const MSG& msg);

// Handles every message waiting in the thread's queue. A WM_QUIT stays in
// the queue for the main loop and ends the processing.
void processPendingMessages();
