// The raise of a thread that makes a sound heard: for the scope's life
// only, registered with the scheduler service, and what the thread ran at
// before comes back, even when scopes nest.
#include <gtest/gtest.h>

#include <windows.h>

#include "AudioPriorityScope.h"

namespace {

int Priority() {
  return GetThreadPriority(GetCurrentThread());
}

TEST(AudioPriorityScopeTest, RaisesForItsLifeAndPutsBackWhatItFound) {
  ASSERT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL));
  {
    const AudioPriorityScope outer;
    EXPECT_EQ(Priority(), AudioPriorityScope::kRaisedPriority);
    // Wine's avrt.dll, like the service, hands back a task for "Pro Audio".
    EXPECT_TRUE(outer.Registered());
    {
      const AudioPriorityScope inner;
      EXPECT_EQ(Priority(), AudioPriorityScope::kRaisedPriority);
    }
    EXPECT_EQ(Priority(), AudioPriorityScope::kRaisedPriority);
  }
  EXPECT_EQ(Priority(), THREAD_PRIORITY_BELOW_NORMAL);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
}

}  // namespace
