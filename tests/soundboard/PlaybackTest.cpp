#include <gtest/gtest.h>

#include "AudioPlayer.h"

namespace {

// Without the library nothing plays and nothing crashes.
TEST(AudioPlayerTest, MissingLibraryMakesEveryOperationReturnZero) {
  AudioPlayer player("C:\\no such folder\\bass.dll");
  EXPECT_FALSE(player.init());
  EXPECT_EQ(player.open_file("C:\\windows\\win.ini"), 0u);
  EXPECT_FALSE(player.play(1));
  EXPECT_EQ(player.position(1), 0u);
  EXPECT_EQ(player.length(1), 0u);
  EXPECT_FALSE(player.set_volume(1, 1.0f));
  player.play_path("C:\\windows\\win.ini", nullptr);
  EXPECT_EQ(player.stream(), 0u);
  player.stop();
}

TEST(AudioPlayerTest, LibraryLackingAnEntryPointIsNotUsed) {
  AudioPlayer player("C:\\windows\\system32\\kernel32.dll");
  EXPECT_FALSE(player.init());
  EXPECT_FALSE(player.free());
}

TEST(AudioPlayerTest, PlaysOnTheDefaultOutputUntilACardIsChosen) {
  AudioPlayer player;
  EXPECT_EQ(player.device(), -1);
  player.set_device(2);
  EXPECT_EQ(player.device(), 2);
}

}  // namespace
