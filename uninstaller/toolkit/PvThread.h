// Worker threads and periodic timers of the uninstaller.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

#include "Handles.h"

using PvThreadProc = unsigned(__stdcall*)(void* arg);
using PvTimerProc = void (*)(void* userData);

// One periodic timer. Records live in CPvThread's fixed table, never move and
// are never removed, because timer threads keep pointers to them. Everything
// but the two atomics is guarded by the owner's mutex.
struct tagPvTimer {
  int id = 0;
  PvTimerProc callback = nullptr;
  int period = 0;  // milliseconds slept before each call
  const std::atomic<int>* stopFlag = nullptr;
  void* userData = nullptr;
  HANDLE thread = nullptr;  // null when no thread runs for this record
  std::atomic<int> killed{0};
  // Counts the starts of this record, so that a thread still finishing the
  // last call of a killed timer never continues after the record is reused.
  std::atomic<unsigned> generation{0};
};

// Starts and ends worker threads and runs timers, each on a thread of its own.
// The program uses the one instance from Instance(); separate instances are
// for tests. Destroying an instance stops its timers first, terminating
// those that overstay: their threads use the instance.
class CPvThread {
 public:
  static constexpr int kMaxTimers = 10;

  static CPvThread& Instance();

  CPvThread();
  ~CPvThread();
  CPvThread(const CPvThread&) = delete;
  CPvThread& operator=(const CPvThread&) = delete;

  // Runs fn(arg) on a new thread. Returns its handle, which the caller then
  // owns and closes (ExitThread does), or null when detached or on failure.
  HANDLE StartThread(PvThreadProc fn, void* arg, int detach);

  // Waits up to `milliseconds` for the thread, terminates it when it
  // overstays, and closes the handle in both cases.
  void ExitThread(HANDLE thread, int milliseconds);

  // Calls callback(data) every `period` ms on a thread of its own. Nothing
  // happens when a timer with this id still runs or all records are taken.
  void StartTimer(int id, PvTimerProc callback, int period, void* data);

  // Ends the timer after its current sleep and call.
  void KillTimer(int id);

  // Ends every timer for good: sleeping timers wake, make their last call at
  // once and end. Waits up to `milliseconds` in all for their threads and
  // returns false when a call overstays; its thread is left running, never
  // terminated here (a thread ended inside a call may hold the heap's lock),
  // and a later Stop waits for it again. Timers started afterwards make one
  // call and end.
  bool Stop(int milliseconds = kStopWaitMs);

  static constexpr int kStopWaitMs = 100;

 private:
  struct TimerStart;

  tagPvTimer* FindTimer(int id);
  tagPvTimer* AddTimer(const tagPvTimer& timer);
  void RetireThread(HANDLE thread);
  static unsigned __stdcall TimerThread(void* start);

  std::atomic<int> m_stop{0};
  // Set with m_stop, so that no timer sleeps through a Stop: ending a thread
  // in its sleep is clean, terminating one inside a call is not (it may hold
  // the heap's lock).
  UniqueKernelHandle m_stopEvent;
  std::mutex m_mutex;  // guards everything below
  std::array<tagPvTimer, kMaxTimers> m_timers;
  int m_timerCount = 0;
  // Threads of reused records that may still be in their last sleep and call.
  std::vector<HANDLE> m_retired;
};
