#include <gtest/gtest.h>

#include "SoundLibrary.h"

namespace {

// GBK text written out as bytes: the cases mean the same whatever execution
// character set the compiler has (the native build's clang knows UTF-8 only).
const std::string kKey = "\xbc\xfc";                             // 键
const std::string kSound = "\xc9\xf9";                           // 声
const std::string kEffects = "\xd2\xf4\xd0\xa7";                 // 音效
const std::string kHostEffects = "\xd6\xf7\xb3\xd6" + kEffects;  // 主持音效
const std::string kApplause = "\xd5\xc6" + kSound;               // 掌声
const std::string kLaughter = "\xd0\xa6" + kSound;               // 笑声

TEST(SoundLibraryTest, FileNameLosesFolderAndLastExtension) {
  EXPECT_EQ(FileNameWithoutExtension("D:\\s\\applause.mp3"), "applause");
  EXPECT_EQ(FileNameWithoutExtension("C:\\x\\a.b.mp3"), "a.b");
  EXPECT_EQ(FileNameWithoutExtension("F1" + kKey), "F1" + kKey);
  EXPECT_EQ(FileNameWithoutExtension("noext"), "noext");
  EXPECT_EQ(FileNameWithoutExtension("C:\\dir.x\\noext"), "noext");
  EXPECT_EQ(FileNameWithoutExtension(""), "");
}

TEST(SoundLibraryTest, BackslashInsideAChineseCharacterIsNoSeparator) {
  // "乗" is 0x81 0x5C in GBK: its second byte is a backslash.
  const std::string chinese = "\x81\x5c";
  EXPECT_EQ(FileNameWithoutExtension("C:\\" + kEffects + "\\" + chinese + kSound + ".mp3"), chinese + kSound);
  EXPECT_EQ(CategoryFolder("C:\\Quobly", "\\" + chinese), "C:\\Quobly\\" + chinese + "\\");
  EXPECT_EQ(FolderOf("C:\\" + chinese + "\\Quobly.exe"), "C:\\" + chinese);
  EXPECT_EQ(FolderOf("C:\\Q\\" + chinese), "C:\\Q");
  EXPECT_EQ(FolderOf("Quobly.exe"), "");
}

TEST(SoundLibraryTest, CategoryFolderEndsWithOneBackslash) {
  EXPECT_EQ(CategoryFolder("C:\\Quobly", "\\" + kHostEffects), "C:\\Quobly\\" + kHostEffects + "\\");
  EXPECT_EQ(CategoryFolder("C:\\Quobly", "\\" + kHostEffects + "\\"), "C:\\Quobly\\" + kHostEffects + "\\");
}

TEST(SoundLibraryTest, PathsCompareAsciiLettersWithoutCaseAndChineseCharactersWhole) {
  EXPECT_TRUE(SamePath("C:\\Sounds\\" + kApplause + ".MP3", "c:\\sounds\\" + kApplause + ".mp3"));
  EXPECT_FALSE(SamePath("C:\\a.mp3", "C:\\b.mp3"));
  EXPECT_FALSE(SamePath("C:\\a.mp3", "C:\\a.mp3 "));
  // Trail bytes 0x61 and 0x41 ('a' and 'A'): two different characters.
  EXPECT_FALSE(SamePath("\x81\x61.mp3", "\x81\x41.mp3"));
  EXPECT_TRUE(SamePath("\x81\x61.mp3", "\x81\x61.MP3"));
}

TEST(SoundLibraryTest, ASoundShowsEveryKeyThatPlaysItInOrder) {
  const std::string applause = "C:\\s\\" + kApplause + ".mp3";
  const std::vector<BoundKey> bound = {{"F1" + kKey, applause},
                                       {"F2" + kKey, "C:\\other\\" + kApplause + ".mp3"},
                                       {"F3" + kKey, "c:\\S\\" + kApplause + ".MP3"}};
  EXPECT_EQ(KeysPlaying(bound, applause), (std::vector<std::string>{"F1" + kKey, "F3" + kKey}));
  EXPECT_TRUE(KeysPlaying(bound, "C:\\s\\" + kLaughter + ".mp3").empty());
  EXPECT_TRUE(KeysPlaying({{"F4" + kKey, ""}}, "").empty());
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

}  // namespace
