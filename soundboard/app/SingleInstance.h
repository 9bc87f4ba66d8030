// One soundboard a session: a second copy would install a second keyboard
// hook and a second notification-area icon, and every hotkey would play
// twice. The first copy holds a named mutex for its whole run; a later one
// finds it taken, asks the running window to show itself and ends.
#pragma once

#include <windows.h>

#include "Handles.h"

class SingleInstance {
 public:
  // The registered message a second start posts to the running main window,
  // which then shows itself as the icon's "显示" does.
  static UINT ShowRunningMessage();

  // Claims the session's soundboard mutex. False when another copy holds it.
  bool Claim();
  // Brings the running copy's window forward; false when none answered
  // within `waitMs` (it may still be starting, before its window exists).
  static bool ShowRunning(DWORD waitMs);

 private:
  UniqueKernelHandle m_mutex;  // held until the process ends
};
