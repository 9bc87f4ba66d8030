#include <gtest/gtest.h>

#include <string>

#include "SettingsText.h"

namespace {

bool Holds(const std::string& text) {
  return HoldsSetting(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// GBK, as the soundboard writes its binding file: "[热键]".
const std::string kSection = "[\xc8\xc8\xbc\xfc]";

TEST(SettingsTextTest, OnlyBlankLinesSectionHeadersAndCommentsHoldNoSetting) {
  for (const std::string& text :
       {std::string(), std::string("\r\n\r\n"), std::string(" \t\r\n\n"), kSection, kSection + "\r\n",
        "\r\n  " + kSection + " \t\r\n\r\n[other]\n", "; \xd7\xa2\xca\xcd F1=C:\\a.mp3\r\n" + kSection + "\r\n",
        // "[音]": 音 ends in 0xF4, "[ab\x81]]" ends in a ']' of its own.
        std::string("[\xd2\xf4]\r\n"), std::string("[ab\x81]]")}) {
    EXPECT_FALSE(Holds(text)) << text;
  }
}

// Anything else is the user's: a binding, a key without '=', bytes that make
// no text, and a ']' that is the second byte of a GBK character (so the line
// is no header to the profile functions, but a key).
TEST(SettingsTextTest, AnythingElseIsASetting) {
  for (const std::string& text :
       {kSection + "\r\nF1\xbc\xfc=C:\\Quobly\\\xd5\xc6\xc9\xf9.mp3\r\n", std::string("F1="), std::string("F1"),
        std::string("\r\n\r\n  x"), kSection + "F1=a", std::string("[section] F1=a"), std::string("[section"),
        std::string("[ab\x81]"), std::string("[ab\x81"), std::string("\xef\xbb\xbf") + kSection, std::string("\0", 1),
        std::string("\xff\xfe[\0", 4), std::string("#F1=a")}) {
    EXPECT_TRUE(Holds(text)) << text;
  }
}

TEST(SettingsTextTest, FilesPastTheBoundAreKeptUnread) {
  EXPECT_FALSE(Holds(std::string(kMaxSettingsBytes, '\n')));
  EXPECT_TRUE(Holds(std::string(kMaxSettingsBytes + 1, '\n')));
}

}  // namespace
