#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <vector>

#include "PvThread.h"
#include "TestSupport.h"

namespace {

// What a timer callback saw: how often it ran and on which threads. It
// allocates nothing and takes no lock, so that a thread terminated inside it
// cannot leave the heap or a lock held.
class CallLog {
 public:
  static void Record(void* log) { static_cast<CallLog*>(log)->Add(); }

  int Calls() const { return m_calls; }

  // The distinct threads that called, in the order of their first call.
  std::vector<DWORD> Threads() const {
    std::vector<DWORD> threads;
    for (const std::atomic<DWORD>& slot : m_threads) {
      if (slot != 0) threads.push_back(slot);
    }
    return threads;
  }

 private:
  void Add() {
    const DWORD self = GetCurrentThreadId();
    for (std::atomic<DWORD>& slot : m_threads) {
      DWORD seen = 0;
      if (slot.compare_exchange_strong(seen, self) || seen == self) break;
    }
    ++m_calls;
  }

  std::atomic<int> m_calls{0};
  std::array<std::atomic<DWORD>, 8> m_threads{};
};

void SleepLong(void*) {
  Sleep(60000);
}

TEST(TimerTest, SecondStartWithRunningIdKeepsFirstTimer) {
  CallLog first, second;  // outlive the timer threads that write them
  CPvThread threads;
  const int baseline = LiveThreadCount();
  threads.StartTimer(1, CallLog::Record, 10, &first);
  threads.StartTimer(1, CallLog::Record, 1, &second);
  EXPECT_EQ(LiveThreadCount(), baseline + 1);

  ASSERT_TRUE(WaitUntil([&] { return first.Calls() >= 5; }));
  EXPECT_EQ(second.Calls(), 0);
  EXPECT_EQ(first.Threads().size(), 1u);
}

TEST(TimerTest, KillThenStartReusesRecordOnFreshThread) {
  CallLog first, second;  // outlive the timer threads that write them
  CPvThread threads;
  const int baseline = LiveThreadCount();
  // The first timer is killed inside its second long sleep and its record is
  // reused at once: its thread must finish on its own settings.
  threads.StartTimer(7, CallLog::Record, 150, &first);
  ASSERT_TRUE(WaitUntil([&] { return first.Calls() == 1; }));
  threads.KillTimer(7);
  threads.StartTimer(7, CallLog::Record, 5, &second);

  ASSERT_TRUE(WaitUntil([&] { return second.Calls() >= 5; }));
  ASSERT_TRUE(WaitUntil([&] { return LiveThreadCount() == baseline + 1; }));
  EXPECT_LE(first.Calls(), 2);
  ASSERT_EQ(second.Threads().size(), 1u);
  ASSERT_EQ(first.Threads().size(), 1u);
  EXPECT_NE(first.Threads()[0], second.Threads()[0]);
}

TEST(TimerTest, KilledTimerMakesAtMostOneMoreCall) {
  CallLog log;  // outlives the timer threads that write it
  CPvThread threads;
  const int baseline = LiveThreadCount();
  threads.StartTimer(3, CallLog::Record, 5, &log);
  ASSERT_TRUE(WaitUntil([&] { return log.Calls() >= 2; }));
  const int callsAtKill = log.Calls();
  threads.KillTimer(3);
  EXPECT_TRUE(WaitUntil([&] { return LiveThreadCount() == baseline; }));
  EXPECT_LE(log.Calls(), callsAtKill + 1);
}

TEST(TimerTest, StopWakesSleepingTimersForTheirLastCall) {
  CallLog log;  // outlives the timer threads that write it
  CPvThread threads;
  const int baseline = LiveThreadCount();
  for (int id = 1; id <= 3; ++id) threads.StartTimer(id, CallLog::Record, 60000, &log);
  ASSERT_EQ(LiveThreadCount(), baseline + 3);

  const Stopwatch watch;
  EXPECT_TRUE(threads.Stop());
  EXPECT_LT(watch.ElapsedMs(), 250);
  EXPECT_TRUE(WaitUntil([&] { return LiveThreadCount() == baseline; }, 1000));
  EXPECT_EQ(log.Calls(), 3);
  EXPECT_EQ(log.Threads().size(), 3u);
}

TEST(TimerTest, StopLeavesCallsThatOverstayRunningAndTheDestructorEndsThem) {
  const int baseline = LiveThreadCount();
  {
    CPvThread threads;
    for (int id = 1; id <= 3; ++id) threads.StartTimer(id, SleepLong, 1, nullptr);
    Sleep(50);  // every timer is inside its first call

    const Stopwatch watch;
    EXPECT_FALSE(threads.Stop());
    // One shared 100 ms allowance, not 100 ms per thread.
    EXPECT_LT(watch.ElapsedMs(), 250);
    // A thread ended inside a call may hold the heap's lock: Stop ends none.
    EXPECT_EQ(LiveThreadCount(), baseline + 3);
    EXPECT_FALSE(threads.Stop(0)) << "the overstaying threads were forgotten";
  }
  // Their threads would use the instance once it is gone.
  EXPECT_TRUE(WaitUntil([&] { return LiveThreadCount() == baseline; }, 1000));
}

TEST(TimerTest, TimerStartedAfterStopCallsOnceAndEnds) {
  CallLog log;  // outlives the timer threads that write it
  CPvThread threads;
  threads.Stop();
  const int baseline = LiveThreadCount();
  threads.StartTimer(1, CallLog::Record, 5, &log);
  ASSERT_TRUE(WaitUntil([&] { return LiveThreadCount() == baseline; }));
  Sleep(50);
  EXPECT_EQ(log.Calls(), 1);
}

TEST(TimerTest, EleventhTimerIsRefused) {
  CallLog logs[CPvThread::kMaxTimers + 1];  // outlive the timer threads that write them
  CPvThread threads;
  const int baseline = LiveThreadCount();
  for (int id = 0; id <= CPvThread::kMaxTimers; ++id) threads.StartTimer(id, CallLog::Record, 5, &logs[id]);
  EXPECT_EQ(LiveThreadCount(), baseline + CPvThread::kMaxTimers);
  ASSERT_TRUE(WaitUntil([&] { return logs[CPvThread::kMaxTimers - 1].Calls() >= 3; }));
  EXPECT_EQ(logs[CPvThread::kMaxTimers].Calls(), 0);
}

unsigned __stdcall SetEventThread(void* event) {
  SetEvent(static_cast<HANDLE>(event));
  return 0;
}

unsigned __stdcall OverstayingThread(void*) {
  Sleep(60000);
  return 0;
}

TEST(WorkerThreadTest, DetachedThreadRunsWithoutHandle) {
  CPvThread threads;
  UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  EXPECT_EQ(threads.StartThread(SetEventThread, event.Get(), 1), nullptr);
  EXPECT_EQ(WaitForSingleObject(event.Get(), 2000), WAIT_OBJECT_0);
}

TEST(WorkerThreadTest, ExitThreadEndsOverstayingThread) {
  CPvThread threads;
  const int baseline = LiveThreadCount();
  HANDLE thread = threads.StartThread(OverstayingThread, nullptr, 0);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(LiveThreadCount(), baseline + 1);

  const Stopwatch watch;
  threads.ExitThread(thread, 50);
  EXPECT_LT(watch.ElapsedMs(), 1000);
  EXPECT_TRUE(WaitUntil([&] { return LiveThreadCount() == baseline; }));
}

}  // namespace
