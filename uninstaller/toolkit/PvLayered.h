// The toolkit's one road to the layered-window calls. Windows refuses
// UpdateLayeredWindow for a window once SetLayeredWindowAttributes was called
// for it, until WS_EX_LAYERED is cleared and set again (Wine allows both):
// each window's use is recorded here, and an update after an attribute call
// without Renew is counted as a fault (an assertion in debug builds) that
// tests read. A window drawn by updates fades through their constant alpha,
// which is kept here for every update of the window. Callable from any
// thread; the records are guarded.
#pragma once

#include <windows.h>

class CPvLayered {
 public:
  // Sets WS_EX_LAYERED; a window that had it keeps its record.
  static void Make(HWND wnd);
  // Clears WS_EX_LAYERED and the window's record.
  static void Clear(HWND wnd);
  // Clears and sets WS_EX_LAYERED again, so that UpdateLayeredWindow works
  // after an attribute call; the constant alpha is 255 again.
  static void Renew(HWND wnd);
  // The whole window's opacity by SetLayeredWindowAttributes (the style is
  // set first).
  static void SetAlpha(HWND wnd, BYTE alpha);
  // The constant alpha of the window's updates from now on (255 unless set).
  static void SetConstantAlpha(HWND wnd, BYTE alpha);
  // The window's picture (32-bit, premultiplied alpha, at (0, 0) of `source`)
  // at `place` (screen coordinates), each pixel's alpha scaled by the
  // window's constant alpha.
  static bool Update(HWND wnd, HDC screen, const RECT& place, HDC source);
  // Drops the record of a window that goes.
  static void Forget(HWND wnd);
  // Updates refused by Windows' order since the program started.
  static int OrderFaults();
};
