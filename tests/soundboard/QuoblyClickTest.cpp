// The real program with a category of sounds beside it, its buttons clicked
// on its main window like a user would.
#include <algorithm>

#include "BoardFixture.h"
#include "QuoblyProcess.h"

namespace {

TEST(QuoblyClickTest, ButtonsInTheMainWindowPlayTheirSoundsForThatWindow) {
  QuoblyProcess quobly;
  const std::wstring sounds = Wide(quobly.Folder()) + CategoryFolderName(1) + L"\\";
  ASSERT_TRUE(CreateDirectoryW(sounds.c_str(), nullptr));
  const std::wstring media = Wide(MediaPath("cbr.mp3"));
  for (int i = 1; i <= 7; ++i) {
    ASSERT_TRUE(CopyFileW(media.c_str(), (sounds + L"s" + std::to_wstring(i) + L".mp3").c_str(), FALSE));
  }
  std::vector<std::string> listed;
  WIN32_FIND_DATAW found = {};
  UniqueFindHandle listing(FindFirstFileW((sounds + L"*.mp3").c_str(), &found));
  ASSERT_TRUE(static_cast<bool>(listing));
  do {
    listed.push_back(Ansi(sounds + found.cFileName));
  } while (FindNextFileW(listing.Get(), &found));
  ASSERT_EQ(listed.size(), 7u);

  ASSERT_TRUE(quobly.Start());
  const HWND window = quobly.MainWindow();
  // The file a click at (x, y) plays, "" when none; and the library's calls for it.
  std::vector<std::string> calls;
  auto played = [&](int x, int y) {
    const std::size_t before = quobly.Calls().size();
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    const auto playCalled = [&] {
      calls = quobly.Calls();
      calls.erase(calls.begin(), calls.begin() + std::min(before, calls.size()));
      return std::any_of(calls.begin(), calls.end(),
                         [](const std::string& call) { return call.compare(0, 17, "BASS_ChannelPlay(") == 0; });
    };
    WaitUntil(playCalled, 3000);
    return LastOpenedFile(calls);
  };

  EXPECT_EQ(played(340 + 35, 110 + 15), listed[4]);
  char forWindow[32];
  std::snprintf(forWindow, sizeof forWindow, "win=0x%08lX",
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
  const auto init = std::find_if(calls.begin(), calls.end(),
                                 [](const std::string& call) { return call.compare(0, 10, "BASS_Init(") == 0; });
  ASSERT_NE(init, calls.end());
  EXPECT_NE(init->find(forWindow), std::string::npos) << *init;
  EXPECT_EQ(played(20 + 35, 150 + 15), listed[5]);
  EXPECT_EQ(played(100 + 35, 150 + 15), listed[6]);
  EXPECT_EQ(played(180 + 35, 150 + 15), "");
  EXPECT_EQ(quobly.Close(), 0);
}

}  // namespace
