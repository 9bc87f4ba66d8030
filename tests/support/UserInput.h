// Mouse and keyboard input for tests: messages sent straight to a window
// (client coordinates, no focus or cursor needed), or real input that goes
// through the system's queue as a user's would.
#pragma once

#include <windows.h>

// A left press and release sent to `window` at client (x, y).
void SendClick(HWND window, int x, int y);
// The pointer moved to client (x, y) of `window`, as a message.
void SendMouseMove(HWND window, int x, int y);

// A real click at the screen point: the pointer moves there and settles,
// then presses and releases the left (or right) button.
void ClickScreen(POINT at, bool right = false);

// One real key event as a keyboard would give it (virtual key and scan code).
bool InjectKey(WORD virtualKey, bool down);
// A real key press and release.
void PressKey(WORD virtualKey);
