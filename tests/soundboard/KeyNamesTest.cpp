#include <gtest/gtest.h>

#include <algorithm>

#include "KeyNames.h"

namespace {

TEST(KeyNamesTest, TableNamesLettersDigitsFunctionKeysAndTheRest) {
  EXPECT_EQ(HotkeyName('0'), "0键");
  EXPECT_EQ(HotkeyName('Z'), "Z键");
  EXPECT_EQ(HotkeyName(112), "F1键");
  EXPECT_EQ(HotkeyName(127), "F16键");
  EXPECT_EQ(HotkeyName(32), "空格键");
  EXPECT_EQ(HotkeyName(3), "Break");
  EXPECT_EQ(HotkeyName(220), "斜杠键");
  EXPECT_EQ(HotkeyName(107), "加号键");
  // The hook reports modifiers by their left and right codes, which have no name.
  for (unsigned code : {0u, 160u, 161u, 162u, 163u, 164u, 165u, 96u, 128u, 255u}) EXPECT_EQ(HotkeyName(code), "");
}

TEST(KeyNamesTest, EveryNamedKeyButSpaceCanPlayASound) {
  const std::vector<unsigned> keys = PlayableKeys();
  EXPECT_EQ(std::count(keys.begin(), keys.end(), 32u), 0);
  for (unsigned code = 0; code < 256; ++code) {
    const bool playable = std::count(keys.begin(), keys.end(), code) == 1;
    EXPECT_EQ(playable, code != 32 && !HotkeyName(code).empty()) << code;
  }
}

}  // namespace
