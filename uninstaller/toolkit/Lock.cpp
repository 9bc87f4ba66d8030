#include "Lock.h"

#include <windows.h>

namespace {
constexpr int kPollMilliseconds = 5;
}

bool CLock::Lock(int timeout) {
  Wait(timeout);
  return !m_locked.exchange(true);
}

void CLock::Unlock() {
  m_locked = false;
}

bool CLock::isLocked() const {
  return m_locked;
}

void CLock::Wait(int timeout) const {
  for (int waited = 0; m_locked && waited < timeout; waited += kPollMilliseconds) Sleep(kPollMilliseconds);
}
