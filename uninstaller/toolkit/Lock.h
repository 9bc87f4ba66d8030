// A small polling lock for short critical sections.
#pragma once

#include <atomic>

class CLock {
 public:
  // Waits up to `timeout` ms, in 5 ms sleeps, for the lock to be free, then
  // takes it. Returns false when it is still held.
  bool Lock(int timeout);
  void Unlock();
  bool isLocked() const;

 private:
  void Wait(int timeout) const;

  std::atomic<bool> m_locked{false};
};
