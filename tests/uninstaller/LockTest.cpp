#include <gtest/gtest.h>

#include "Lock.h"
#include "PvThread.h"
#include "TestSupport.h"

namespace {

TEST(LockTest, HeldLockRefusesAtOnceWithoutTimeout) {
  CLock lock;
  ASSERT_TRUE(lock.Lock(0));
  EXPECT_TRUE(lock.isLocked());

  EXPECT_FALSE(lock.Lock(0));

  lock.Unlock();
  EXPECT_FALSE(lock.isLocked());
  EXPECT_TRUE(lock.Lock(0));
}

TEST(LockTest, HeldLockGivesUpAfterThreeSleeps) {
  CLock lock;
  ASSERT_TRUE(lock.Lock(0));
  const Stopwatch watch;
  EXPECT_FALSE(lock.Lock(12));
  EXPECT_GE(watch.ElapsedMs(), 14);  // it did wait before giving up
  EXPECT_TRUE(lock.isLocked());
}

unsigned __stdcall UnlockLater(void* lock) {
  Sleep(20);
  static_cast<CLock*>(lock)->Unlock();
  return 0;
}

TEST(LockTest, WaiterTakesLockReleasedByAnotherThread) {
  CLock lock;
  ASSERT_TRUE(lock.Lock(0));
  CPvThread threads;
  HANDLE thread = threads.StartThread(UnlockLater, &lock, 0);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(lock.Lock(2000));
  EXPECT_TRUE(lock.isLocked());
  threads.ExitThread(thread, 2000);
}

}  // namespace
