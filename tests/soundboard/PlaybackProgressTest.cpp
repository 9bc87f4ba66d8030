#include <gtest/gtest.h>

#include "PlaybackProgress.h"

namespace {

TEST(PlaybackProgressTest, PercentIsRoundedAndBounded) {
  EXPECT_EQ(PlayedPercent(0, 1000), 0);
  EXPECT_EQ(PlayedPercent(504, 10000), 5);
  EXPECT_EQ(PlayedPercent(505, 10000), 5);  // 5.05
  EXPECT_EQ(PlayedPercent(549, 10000), 5);
  EXPECT_EQ(PlayedPercent(550, 10000), 6);
  EXPECT_EQ(PlayedPercent(1000, 1000), 100);
  EXPECT_EQ(PlayedPercent(1200, 1000), 100);
  EXPECT_EQ(PlayedPercent(5, 0), 0);
  EXPECT_EQ(PlayedPercent(kChannelError, 1000), 0);
  // A long sound's byte counts do not overflow the arithmetic.
  EXPECT_EQ(PlayedPercent(std::uint64_t{1} << 60, std::uint64_t{1} << 61), 50);
}

TEST(PlaybackProgressTest, WatchEndsAtTheEndOnErrorsAndWhenReplaced) {
  EXPECT_TRUE(KeepWatching(100, 1000, true));
  EXPECT_FALSE(KeepWatching(1000, 1000, true));
  EXPECT_FALSE(KeepWatching(100, 1000, false));
  EXPECT_FALSE(KeepWatching(kChannelError, 1000, true));
  EXPECT_FALSE(KeepWatching(0, kChannelError, true));
}

}  // namespace
