// The sound library on screen: buttons from the category folders, where they
// sit, what they are called and which hotkey they show.
#include "BoardFixture.h"

namespace {

using SoundLibraryScreenTest = BoardTest;

TEST_F(SoundLibraryScreenTest, ButtonsFillRowsOfFiveInTheOrderTheFolderLists) {
  AddNumberedSounds(1, 21);
  Build();
  const std::vector<std::string> listed = Listing(1);
  ASSERT_EQ(listed.size(), 21u);
  for (int index = 1; index <= 21; ++index) {
    const std::string& path = listed[index - 1];
    EXPECT_EQ(board->SoundPath(1, index), path);
    EXPECT_EQ(board->SoundName(1, index), FileNameWithoutExtension(path));
    // One backslash between the category folder and the file name.
    EXPECT_EQ(path.find("\\\\"), std::string::npos) << path;
  }

  EXPECT_EQ(PlayedBy(340 + 35, 110 + 15), listed[4]);  // the 5th ends row 1
  EXPECT_EQ(PlayedBy(20 + 35, 150 + 15), listed[5]);   // the 6th starts row 2
  EXPECT_EQ(PlayedBy(340 + 8, 230 + 25), listed[19]);  // the 20th, near its corner
  // The 21st keeps its name and path, but has no button in a fifth row.
  EXPECT_EQ(PlayedBy(20 + 35, 270 + 15), "");
  EXPECT_EQ(PlayedBy(75, 105), "");  // between the header and row 1
  EXPECT_EQ(board->SoundPath(1, 21), listed[20]);
}

TEST_F(SoundLibraryScreenTest, MissingOrEmptyFoldersGiveEmptyPagesAndSlotsEndAtFifty) {
  AddNumberedSounds(1, 52);
  Folder(3);  // exists, without sounds
  Build();
  EXPECT_NE(board->SoundPath(1, 50), "");
  EXPECT_EQ(board->SoundPath(1, 51), "");
  EXPECT_EQ(board->SoundName(1, 51), "");
  for (int category : {2, 3}) {
    EXPECT_EQ(board->SoundPath(category, 1), "");
    tab.SetCurrentPage(category);
    EXPECT_EQ(PlayedBy(20 + 35, 110 + 15), "");
  }
  EXPECT_TRUE(trace.Calls().empty());
  // Nothing was said about it.
  EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr);
}

TEST_F(SoundLibraryScreenTest, PagesShowOnlyTheirOwnButtons) {
  AddSounds(1, {L"one.mp3"});
  AddSounds(2, {L"two.mp3"});
  Build();
  const std::string one = board->SoundPath(1, 1);
  const std::string two = board->SoundPath(2, 1);
  EXPECT_EQ(PlayedBy(55, 125), one);
  tab.SetCurrentPage(2);
  EXPECT_EQ(PlayedBy(55, 125), two);
}

TEST_F(SoundLibraryScreenTest, CaptionsAreFileNamesAndBadgesShowTheKeysThatPlayEachSound) {
  AddSounds(1, {L"a.b.mp3", L"\u638c\u58f0.mp3"});  // 掌声
  AddSounds(3, {L"\u638c\u58f0.mp3"});
  Build();
  const int applause = board->SoundName(1, 1) == "a.b" ? 2 : 1;
  const int other = 3 - applause;
  EXPECT_EQ(board->SoundName(1, other), "a.b");
  const std::string f1 = "F1\xBC\xFC";  // "F1键" in GBK
  const std::string f2 = "F2\xBC\xFC";
  // Two keys play the first category's applause; the third category's sound
  // of the same name is another file, which no key plays.
  board->ShowHotkeys({{f1, board->SoundPath(1, applause)}, {f2, board->SoundPath(1, applause)}});
  EXPECT_EQ(board->Hotkey(1, applause), f1 + "\xA1\xA2" + f2);  // joined by "、"
  EXPECT_EQ(board->Hotkey(3, 1), "");
  EXPECT_EQ(board->Hotkey(1, other), "");

  // A binding that moves shows at once in the new button's top right
  // corner and leaves the old one; the caption in the middle stays as it was.
  const ButtonPlace place = PlaceButton(other, kTabTop);
  auto region = [&](int x0, int y0, int x1, int y1) {
    std::vector<std::uint32_t> pixels;
    for (int y = place.y + y0; y < place.y + y1; ++y) {
      for (int x = place.x + x0; x < place.x + x1; ++x) pixels.push_back(host.Canvas().Pixel(x, y));
    }
    return pixels;
  };
  PumpMessages();
  const auto cornerBefore = region(50, 1, 67, 11);
  const auto captionBefore = region(12, 11, 58, 24);
  board->ShowHotkeys({{f1, board->SoundPath(1, applause)}, {f2, board->SoundPath(1, other)}});
  PumpMessages();
  EXPECT_EQ(board->Hotkey(1, applause), f1);
  EXPECT_EQ(board->Hotkey(1, other), f2);
  EXPECT_NE(region(50, 1, 67, 11), cornerBefore);
  EXPECT_EQ(region(12, 11, 58, 24), captionBefore);
  board->ShowHotkeys({});
  PumpMessages();
  EXPECT_EQ(board->Hotkey(1, applause), "");
  EXPECT_EQ(region(50, 1, 67, 11), cornerBefore);
}

// Input that waits while the folders are scanned is handled at once; what it
// leads to must not be lost to the message loop that follows.
TEST_F(SoundLibraryScreenTest, QuitAskedForDuringTheScanReachesTheMessageLoop) {
  AddNumberedSounds(1, 3);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  bool building = false;
  int keysDuringScan = 0;
  host.SetMessageHook([&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_KEYUP && building) {
      ++keysDuringScan;
      PostQuitMessage(7);
    }
    return kExUndecided;
  });
  PressKey(VK_SHIFT);
  ASSERT_TRUE(WaitUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) != 0; }, 2000));

  building = true;
  Build();
  building = false;
  EXPECT_EQ(keysDuringScan, 1);
  MSG msg = {};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  // The build went on.
  EXPECT_NE(board->SoundName(1, 3), "");
}

TEST_F(SoundLibraryScreenTest, WindowClosedDuringTheScanStopsTheBuildSafely) {
  AddNumberedSounds(1, 3);
  AddNumberedSounds(2, 3);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  PressKey(VK_SHIFT);
  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) != 0; }, 2000));

  Build();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(board->SoundName(2, 1), "");
  board->Stop();
}

}  // namespace
