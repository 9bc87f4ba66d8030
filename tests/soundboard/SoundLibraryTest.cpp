#include <gtest/gtest.h>

#include "KeyNames.h"
#include "SoundLibrary.h"

namespace {

TEST(SoundLibraryTest, FileNameLosesFolderAndLastExtension) {
  EXPECT_EQ(FileNameWithoutExtension("D:\\s\\applause.mp3"), "applause");
  EXPECT_EQ(FileNameWithoutExtension("C:\\x\\a.b.mp3"), "a.b");
  EXPECT_EQ(FileNameWithoutExtension("F1键"), "F1键");
  EXPECT_EQ(FileNameWithoutExtension("noext"), "noext");
  EXPECT_EQ(FileNameWithoutExtension("C:\\dir.x\\noext"), "noext");
  EXPECT_EQ(FileNameWithoutExtension(""), "");
}

TEST(SoundLibraryTest, BackslashInsideAChineseCharacterIsNoSeparator) {
  // "乗" is 0x81 0x5C in GBK: its second byte is a backslash.
  const std::string chinese = "\x81\x5c";
  EXPECT_EQ(FileNameWithoutExtension("C:\\音效\\" + chinese + "声.mp3"), chinese + "声");
  EXPECT_EQ(CategoryFolder("C:\\Quobly", "\\" + chinese), "C:\\Quobly\\" + chinese + "\\");
}

TEST(SoundLibraryTest, CategoryFolderEndsWithOneBackslash) {
  EXPECT_EQ(CategoryFolder("C:\\Quobly", "\\主持音效"), "C:\\Quobly\\主持音效\\");
  EXPECT_EQ(CategoryFolder("C:\\Quobly", "\\主持音效\\"), "C:\\Quobly\\主持音效\\");
}

TEST(SoundLibraryTest, BindingLinesWithExactlyOneEqualsSignCount) {
  const Bindings bindings = ParseBindings(
      "[热键]\r\nF1键=C:\\s\\掌声.mp3\r\n\r\nA键=D:\\x\\a.b.mp3\r\nF2键=x=y\r\n空格键=\r\nF3键=C:\\s\\笑声.mp3");
  EXPECT_EQ(bindings.keys, (std::vector<std::string>{"F1键", "A键", "空格键", "F3键"}));
  EXPECT_EQ(bindings.names, (std::vector<std::string>{"掌声", "a.b", "", "笑声"}));
  EXPECT_TRUE(ParseBindings("").keys.empty());
}

TEST(SoundLibraryTest, FirstBindingOfASoundNameGivesItsTag) {
  const Bindings bindings = ParseBindings("F1键=C:\\a\\掌声.mp3\r\nF2键=C:\\b\\掌声.mp3");
  EXPECT_EQ(HotkeyTagFor("掌声", bindings), "F1键");
  EXPECT_EQ(HotkeyTagFor("笑声", bindings), "");
}

TEST(SoundLibraryTest, ButtonGridFillsFourRowsOfFive) {
  const int tabTop = 70;
  EXPECT_EQ(PlaceButton(1, tabTop).x, 20);
  EXPECT_EQ(PlaceButton(1, tabTop).y, 110);
  EXPECT_EQ(PlaceButton(5, tabTop).x, 340);
  EXPECT_EQ(PlaceButton(5, tabTop).y, 110);
  EXPECT_EQ(PlaceButton(6, tabTop).x, 20);
  EXPECT_EQ(PlaceButton(6, tabTop).y, 150);
  EXPECT_EQ(PlaceButton(20, tabTop).y, 230);
  EXPECT_TRUE(PlaceButton(20, tabTop).visible);
  EXPECT_FALSE(PlaceButton(21, tabTop).visible);
}

TEST(SoundLibraryTest, ColoursBecomeArgbWithOpaqueAt254) {
  EXPECT_EQ(ArgbFromBgr(0xFFFFFF), 0xFEFFFFFFu);
  EXPECT_EQ(ArgbFromBgr(255, 100, true), 0x64FF0000u);
  EXPECT_EQ(ArgbFromBgr(0, 100, true), 0x64000000u);
  EXPECT_EQ(ArgbFromBgr(0x808080, 255, true), 0xFE808080u);
  EXPECT_EQ(ArgbFromBgr(0x123456, 7, false), 0xFE563412u);
}

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

}  // namespace
