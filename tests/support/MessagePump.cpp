#include "MessagePump.h"

#include "TestSupport.h"

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  const DWORD limit = TestTimeout(timeoutMs);
  for (;;) {
    PumpMessages();
    if (done()) return true;
    if (GetTickCount() - start > limit) return false;
    // Polls at least every few milliseconds for conditions no message signals.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
}
