// Waiting for a group of threads with one allowance shared by all of them.
#pragma once

#include <windows.h>

#include <vector>

// Waits up to `milliseconds` in all (INFINITE: without limit) for every
// thread to end; returns the threads still running then. A handle that
// cannot be waited for counts as ended.
inline std::vector<HANDLE> WaitForThreads(const std::vector<HANDLE>& threads, DWORD milliseconds) {
  std::vector<HANDLE> running;
  const DWORD start = GetTickCount();
  for (HANDLE thread : threads) {
    const DWORD spent = GetTickCount() - start;
    const DWORD left = milliseconds == INFINITE ? INFINITE : (spent < milliseconds ? milliseconds - spent : 0);
    if (WaitForSingleObject(thread, left) == WAIT_TIMEOUT) running.push_back(thread);
  }
  return running;
}
