#include "PvThread.h"

#include <process.h>

#include <algorithm>
#include <utility>

#include "ThreadWait.h"

// Which record, and which start of it, a timer thread serves. Allocated by
// StartTimer, freed by the thread.
struct CPvThread::TimerStart {
  CPvThread* owner;
  tagPvTimer* record;
  unsigned generation;
};

namespace {

DWORD ClampedMilliseconds(int milliseconds) {
  return static_cast<DWORD>(std::max(milliseconds, 0));
}

}  // namespace

CPvThread& CPvThread::Instance() {
  // Never destroyed: timer threads may still be inside a call while the
  // runtime runs static destructors at exit.
  static CPvThread* const instance = new CPvThread();
  return *instance;
}

CPvThread::CPvThread() : m_stopEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CPvThread::~CPvThread() {
  if (Stop()) return;
  // The last resort: what still runs would use this instance once it is gone.
  std::lock_guard<std::mutex> lock(m_mutex);
  for (HANDLE thread : m_retired) {
    TerminateThread(thread, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  m_retired.clear();
}

HANDLE CPvThread::StartThread(PvThreadProc fn, void* arg, int detach) {
  HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, fn, arg, 0, nullptr));
  if (thread != nullptr && detach) {
    CloseHandle(thread);
    return nullptr;
  }
  return thread;
}

void CPvThread::ExitThread(HANDLE thread, int milliseconds) {
  if (thread == nullptr) return;
  if (WaitForSingleObject(thread, ClampedMilliseconds(milliseconds)) == WAIT_TIMEOUT) TerminateThread(thread, 0);
  CloseHandle(thread);
}

void CPvThread::StartTimer(int id, PvTimerProc callback, int period, void* data) {
  tagPvTimer timer;
  timer.id = id;
  timer.callback = callback;
  timer.period = period;
  timer.stopFlag = &m_stop;
  timer.userData = data;

  std::lock_guard<std::mutex> lock(m_mutex);
  tagPvTimer* record = AddTimer(timer);
  if (record == nullptr) return;

  auto* start = new TimerStart{this, record, record->generation};
  record->thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, TimerThread, start, 0, nullptr));
  if (record->thread == nullptr) delete start;
}

void CPvThread::KillTimer(int id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (tagPvTimer* record = FindTimer(id)) record->killed = 1;
}

bool CPvThread::Stop(int milliseconds) {
  m_stop = 1;
  SetEvent(m_stopEvent.Get());

  // Take the handles out first: the waits below must not hold the mutex
  // that finishing threads need.
  std::vector<HANDLE> running;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    running.swap(m_retired);
    for (int i = 0; i < m_timerCount; ++i) {
      if (m_timers[i].thread != nullptr) running.push_back(std::exchange(m_timers[i].thread, nullptr));
    }
  }

  const std::vector<HANDLE> overstaying = WaitForThreads(running, ClampedMilliseconds(milliseconds));
  for (HANDLE thread : running) {
    if (std::find(overstaying.begin(), overstaying.end(), thread) == overstaying.end()) CloseHandle(thread);
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_retired.insert(m_retired.end(), overstaying.begin(), overstaying.end());
  return overstaying.empty();
}

tagPvTimer* CPvThread::FindTimer(int id) {
  tagPvTimer* const end = m_timers.data() + m_timerCount;
  tagPvTimer* record = std::find_if(m_timers.data(), end, [id](const tagPvTimer& timer) { return timer.id == id; });
  return record == end ? nullptr : record;
}

tagPvTimer* CPvThread::AddTimer(const tagPvTimer& timer) {
  tagPvTimer* record = FindTimer(timer.id);
  if (record == nullptr) {
    if (m_timerCount == kMaxTimers) return nullptr;
    record = &m_timers[m_timerCount++];
  } else if (!record->killed && record->thread != nullptr) {
    return nullptr;  // still running: keeps its callback and period
  } else if (record->thread != nullptr) {
    // The killed timer's thread may still be in its last sleep and call;
    // Stop must still be able to end it.
    RetireThread(std::exchange(record->thread, nullptr));
  }

  record->id = timer.id;
  record->callback = timer.callback;
  record->period = timer.period;
  record->stopFlag = timer.stopFlag;
  record->userData = timer.userData;
  // The generation changes before killed is cleared: a thread that sees the
  // cleared flag also sees that the record is no longer its own.
  ++record->generation;
  record->killed = 0;
  return record;
}

void CPvThread::RetireThread(HANDLE thread) {
  auto finished = [](HANDLE handle) {
    if (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) return false;
    CloseHandle(handle);
    return true;
  };
  m_retired.erase(std::remove_if(m_retired.begin(), m_retired.end(), finished), m_retired.end());
  if (!finished(thread)) m_retired.push_back(thread);
}

unsigned __stdcall CPvThread::TimerThread(void* param) {
  const TimerStart start = *static_cast<TimerStart*>(param);
  delete static_cast<TimerStart*>(param);
  tagPvTimer* const record = start.record;

  // The settings are copied once: StartTimer holds the mutex until this
  // thread's handle is stored, and a reused record is no longer this thread's.
  tagPvTimer settings;
  {
    std::lock_guard<std::mutex> lock(start.owner->m_mutex);
    if (record->generation != start.generation) return 0;
    settings.callback = record->callback;
    settings.period = record->period;
    settings.stopFlag = record->stopFlag;
    settings.userData = record->userData;
  }

  // The flags are tested after each call, so a timer always makes its first
  // call, and one more call follows a kill that arrives in a sleep. A stop
  // cuts the sleep short.
  do {
    WaitForSingleObject(start.owner->m_stopEvent.Get(), ClampedMilliseconds(settings.period));
    settings.callback(settings.userData);
  } while (*settings.stopFlag == 0 && record->killed == 0 && record->generation == start.generation);

  std::lock_guard<std::mutex> lock(start.owner->m_mutex);
  if (record->generation == start.generation && record->thread != nullptr) {
    CloseHandle(record->thread);
    record->thread = nullptr;
  }
  return 0;
}
