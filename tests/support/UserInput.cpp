#include "UserInput.h"

void SendClick(HWND window, int x, int y) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void SendMouseMove(HWND window, int x, int y) {
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void ClickScreen(POINT at, bool right) {
  // Absolute coordinates run from 0 to 65535 across the primary screen; aim
  // at the middle of the pixel so that rounding cannot land on its neighbour.
  INPUT input[3] = {};
  for (INPUT& event : input) {
    event.type = INPUT_MOUSE;
    event.mi.dx = MulDiv(2 * at.x + 1, 65536, 2 * GetSystemMetrics(SM_CXSCREEN));
    event.mi.dy = MulDiv(2 * at.y + 1, 65536, 2 * GetSystemMetrics(SM_CYSCREEN));
  }
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | (right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  input[2].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | (right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  // The pointer settles before the press: sent together, one click in a few
  // hundred is taken where the pointer was before the move.
  SendInput(1, input, sizeof input[0]);
  Sleep(20);
  SendInput(2, input + 1, sizeof input[0]);
}

bool InjectKey(WORD virtualKey, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  return SendInput(1, &input, sizeof input) == 1;
}

void PressKey(WORD virtualKey) {
  InjectKey(virtualKey, true);
  InjectKey(virtualKey, false);
}
