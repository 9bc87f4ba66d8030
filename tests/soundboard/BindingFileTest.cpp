// The binding file as the hotkey panel writes it and the program reads it:
// through the profile functions, under Wine, in a folder of its own.
#include <gtest/gtest.h>

#include "BindingFile.h"
#include "TestSupport.h"

namespace {

class BindingFileTest : public testing::Test {
 protected:
  std::string Path() const { return Ansi(folder.Path()) + "音效配置.ini"; }
  std::string Text() const { return ReadFileBytes(folder.Path() + L"音效配置.ini"); }

  TempFolder folder;
};

TEST_F(BindingFileTest, WritesGbkLinesThatStartUpReadsBack) {
  ASSERT_TRUE(WriteBinding(Path(), "F2键", "D:\\音效\\掌声.mp3"));
  ASSERT_TRUE(WriteBinding(Path(), "A键", "D:\\音效\\a.b.mp3"));
  EXPECT_EQ(Text(), "[热键]\r\nF2键=D:\\音效\\掌声.mp3\r\nA键=D:\\音效\\a.b.mp3\r\n");
  EXPECT_EQ(ReadBinding(Path(), "F2键"), "D:\\音效\\掌声.mp3");
}

TEST_F(BindingFileTest, SecondBindingOfAKeyReplacesTheFirstAndTwoKeysMayShareASound) {
  ASSERT_TRUE(WriteBinding(Path(), "F2键", "C:\\a.mp3"));
  ASSERT_TRUE(WriteBinding(Path(), "F2键", "C:\\b.mp3"));
  ASSERT_TRUE(WriteBinding(Path(), "F3键", "C:\\b.mp3"));
  EXPECT_EQ(ReadBinding(Path(), "F2键"), "C:\\b.mp3");
  EXPECT_EQ(ReadBinding(Path(), "f2键"), "C:\\b.mp3");  // keys ignore case
  EXPECT_EQ(ReadBinding(Path(), "F3键"), "C:\\b.mp3");
  EXPECT_EQ(Text(), "[热键]\r\nF2键=C:\\b.mp3\r\nF3键=C:\\b.mp3\r\n");
}

TEST_F(BindingFileTest, ClearingRemovesTheBindingsInPlaceAndNoBindingComesBack) {
  EXPECT_TRUE(ClearBindings(Path()));  // nothing to clear, and nothing is made
  EXPECT_FALSE(Exists(folder.Path() + L"音效配置.ini"));

  ASSERT_TRUE(WriteBinding(Path(), "F1键", "C:\\a.mp3"));
  ASSERT_EQ(ReadBinding(Path(), "F1键"), "C:\\a.mp3");  // now cached
  ASSERT_TRUE(ClearBindings(Path()));
  EXPECT_TRUE(Exists(folder.Path() + L"音效配置.ini"));
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(ReadBinding(Path(), "F1键"), "");  // no key press plays
  EXPECT_TRUE(ClearBindings(Path()));

  ASSERT_TRUE(WriteBinding(Path(), "F3键", "C:\\c.mp3"));
  EXPECT_EQ(ReadBinding(Path(), "F1键"), "");
  EXPECT_EQ(Text(), "[热键]\r\nF3键=C:\\c.mp3\r\n");
}

// The file holds the sound card choice too: clearing the bindings leaves
// every other section as it was, before and after the bindings.
TEST_F(BindingFileTest, ClearingKeepsTheFilesOtherSections) {
  const std::string cards = "[声卡]\r\n输出=USB 音频设备\r\n监听音量=50\r\n";
  const std::string other = "[其他]\r\n热键=不是绑定\r\n";
  const std::string bindings = "[热键]\r\nF1键=C:\\a.mp3\r\nF2键=C:\\b.mp3\r\n";
  ASSERT_TRUE(WriteBytes(folder.Path() + L"音效配置.ini", (cards + bindings + other).data(),
                         cards.size() + bindings.size() + other.size()));
  ASSERT_EQ(ReadBinding(Path(), "F2键"), "C:\\b.mp3");

  ASSERT_TRUE(ClearBindings(Path()));
  EXPECT_EQ(ReadBinding(Path(), "F1键"), "");
  EXPECT_EQ(ReadBinding(Path(), "F2键"), "");
  EXPECT_EQ(Text(), cards + other);
  EXPECT_EQ(ReadSoundCardName(Path()), "USB 音频设备");
}

TEST_F(BindingFileTest, TheSoundCardIsStoredBesideTheBindingsAndTheDefaultStoresNothing) {
  EXPECT_TRUE(WriteSoundCardName(Path(), ""));  // the default on a file never made
  EXPECT_FALSE(Exists(folder.Path() + L"音效配置.ini"));
  EXPECT_EQ(ReadSoundCardName(Path()), "");

  ASSERT_TRUE(WriteBinding(Path(), "F1键", "C:\\a.mp3"));
  ASSERT_TRUE(WriteSoundCardName(Path(), "扬声器 (USB)"));
  EXPECT_EQ(ReadSoundCardName(Path()), "扬声器 (USB)");
  EXPECT_EQ(ReadBinding(Path(), "F1键"), "C:\\a.mp3");
  ASSERT_TRUE(WriteSoundCardName(Path(), ""));
  EXPECT_EQ(ReadSoundCardName(Path()), "");
  EXPECT_EQ(ReadBinding(Path(), "F1键"), "C:\\a.mp3");
}

// An installed copy: the user may write the file but neither delete it nor
// make files beside it. Wine enforces no access rights, so a reader holding
// the file open without sharing deletion stands in for them: deleting or
// replacing the file fails as it would for want of the right.
TEST_F(BindingFileTest, ClearingAndBindingNeedNoRightBeyondWritingTheFile) {
  ASSERT_TRUE(WriteBinding(Path(), "F1键", "C:\\a.mp3"));
  ASSERT_TRUE(WriteBinding(Path(), "F2键", "C:\\b.mp3"));
  ASSERT_EQ(ReadBinding(Path(), "F2键"), "C:\\b.mp3");
  {
    UniqueFileHandle reader(CreateFileA(Path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    ASSERT_FALSE(DeleteFileA(Path().c_str()));
    ASSERT_TRUE(ClearBindings(Path()));
    EXPECT_EQ(ReadBinding(Path(), "F1键"), "");
    EXPECT_EQ(ReadBinding(Path(), "F2键"), "");
    EXPECT_EQ(Text(), "");
  }
  ASSERT_TRUE(WriteBinding(Path(), "F3键", "C:\\c.mp3"));
  EXPECT_EQ(Text(), "[热键]\r\nF3键=C:\\c.mp3\r\n");
  // Nothing was made beside it on the way (no temporary or backup file).
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found = {};
  UniqueFindHandle listing(FindFirstFileW((folder.Path() + L"*").c_str(), &found));
  ASSERT_TRUE(listing);
  do {
    if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
  } while (FindNextFileW(listing.Get(), &found));
  EXPECT_EQ(names, std::vector<std::wstring>{L"音效配置.ini"});
}

// Another program (or the user) deletes the file while it is cached here.
TEST_F(BindingFileTest, FileDeletedBehindTheCacheBindsNothing) {
  ASSERT_TRUE(WriteBinding(Path(), "F1键", "C:\\a.mp3"));
  ASSERT_EQ(ReadBinding(Path(), "F1键"), "C:\\a.mp3");
  ASSERT_TRUE(DeleteFileA(Path().c_str()));
  EXPECT_EQ(ReadBinding(Path(), "F1键"), "");
  ASSERT_TRUE(WriteBinding(Path(), "F2键", "C:\\b.mp3"));
  EXPECT_EQ(Text(), "[热键]\r\nF2键=C:\\b.mp3\r\n");
}

TEST_F(BindingFileTest, NamelessKeysAndUnwritableFilesAreRefused) {
  EXPECT_FALSE(WriteBinding(Path(), "", "C:\\a.mp3"));
  EXPECT_FALSE(WriteBinding(Path(), "F1键", ""));
  EXPECT_FALSE(Exists(folder.Path() + L"音效配置.ini"));
  EXPECT_FALSE(WriteBinding(Path() + "\\no such folder\\x.ini", "F1键", "C:\\a.mp3"));
  EXPECT_EQ(ReadBinding(Path(), ""), "");
}

}  // namespace
