// A soundboard over a real framework window: the tab control of the main
// window, a program folder made for each test with its category folders, and
// the stand-in bass.dll beside the tests, whose call trace tells what the
// board played.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "AppMessages.h"
#include "AudioPlayer.h"
#include "ExFramework.h"
#include "ExHost.h"
#include "ExStyleFlags.h"
#include "ExTab.h"
#include "SoundBoard.h"
#include "TestSupport.h"
#include "audio/AudioMedia.h"

// The category folders' names, in category order.
inline const wchar_t* CategoryFolderName(int category) {
  static const wchar_t* const kNames[] = {L"\u4e3b\u6301\u97f3\u6548", L"\u558a\u9ea6\u97f3\u6548",
                                          L"\u641e\u7b11\u97f3\u6548"};
  return kNames[category - 1];
}

// What a play writes to the trace, call by call.
inline std::vector<std::string> PlaySequence(int device, HWND window, const std::string& path, DWORD stream,
                                             bool wasInitialised) {
  char init[160], open[2 * MAX_PATH], volume[96], play[64];
  std::snprintf(init, sizeof init, "BASS_Init(device=%d, freq=44100, flags=0, win=0x%08lX, dsguid=0x00000000) = 1",
                device, static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
  std::snprintf(open, sizeof open, "BASS_StreamCreateFile(mem=0, file=\"%s\", offset=0, length=0, flags=0) = %lu",
                path.c_str(), stream);
  std::snprintf(volume, sizeof volume, "BASS_ChannelSetAttribute(handle=%lu, attrib=2, value=1.000) = 1", stream);
  std::snprintf(play, sizeof play, "BASS_ChannelPlay(handle=%lu, restart=1) = 1", stream);
  return {wasInitialised ? "BASS_Free() = 1" : "BASS_Free() = 0", init, open, volume, play};
}

class BoardTest : public testing::Test {
 protected:
  static constexpr int kTabTop = 70;

  void SetUp() override {
    ASSERT_TRUE(ExFramework::Startup());
    ExWindowOptions options;
    options.width = 430;
    options.height = 320;
    window = ExCreateWindow(options);
    ASSERT_NE(window, nullptr);
    ExAttachOptions attach;
    attach.dragAnywhere = false;
    attach.resizable = false;
    attach.styleFlags = kExAttached;
    ASSERT_TRUE(host.Attach(window, nullptr, 0, attach));
    host.SetMessageHook([this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message != kMsgProgress || !board) return kExUndecided;
      board->OnProgress(wParam, lParam);
      if (onProgress) onProgress();
      return 0;
    });
    tab.Create(window, {1, kTabTop, 430, 260});
    tab.SetHeaderMetrics({10, 10, 90, 30});
    for (int category = 1; category <= SoundBoard::kCategoryCount; ++category)
      tab.AddPage(Ansi(CategoryFolderName(category)));
    player = std::make_unique<AudioPlayer>();
  }

  void TearDown() override {
    board.reset();
    if (IsWindow(window)) DestroyWindow(window);
    ExFramework::Shutdown();
  }

  // The category's folder beside the program (made on first use).
  std::wstring Folder(int category) const {
    const std::wstring folder = programFolder.Path() + CategoryFolderName(category) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
  }
  // Copies test media into a category's folder under the given names.
  void AddSounds(int category, const std::vector<std::wstring>& names, const char* media = "cbr.mp3") const {
    const std::wstring source = Wide(MediaPath(media));
    for (const std::wstring& name : names)
      ASSERT_TRUE(CopyFileW(source.c_str(), (Folder(category) + name).c_str(), FALSE));
  }
  void AddNumberedSounds(int category, int count) const {
    std::vector<std::wstring> names;
    for (int i = 1; i <= count; ++i) names.push_back(L"sound" + std::to_wstring(i) + L".mp3");
    AddSounds(category, names);
  }
  // The files of a category's folder in the order the file system lists them.
  std::vector<std::string> Listing(int category) const {
    std::vector<std::string> paths;
    WIN32_FIND_DATAW found = {};
    const std::wstring folder = Folder(category);
    UniqueFindHandle listing(FindFirstFileW((folder + L"*.mp3").c_str(), &found));
    if (!listing) return paths;
    do {
      paths.push_back(Ansi(folder + found.cFileName));
    } while (FindNextFileW(listing.Get(), &found));
    return paths;
  }

  void Build() {
    std::wstring folder = programFolder.Path();
    folder.pop_back();  // the program folder has no trailing backslash
    board = std::make_unique<SoundBoard>(*player);
    for (int category = 1; category <= SoundBoard::kCategoryCount; ++category) {
      board->BuildCategory(category, window, tab, Ansi(folder));
    }
  }

  // A left click in the middle of sound button `index` of the current page.
  void ClickButton(int index) {
    const ButtonPlace place = PlaceButton(index, kTabTop);
    ClickAt(place.x + 35, place.y + 15);
  }
  void ClickAt(int x, int y) { SendClick(window, x, y); }
  // Which sound a click at (x, y) of the current page plays; "" for none.
  std::string PlayedBy(int x, int y) {
    trace.Clear();
    ClickAt(x, y);
    return LastOpenedFile(trace.Calls());
  }
  void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
  }

  TempFolder programFolder;
  BassTrace trace{programFolder.Path() + L"bass-trace.txt"};
  HWND window = nullptr;
  ExHost host;
  ExTab tab;
  std::unique_ptr<AudioPlayer> player;
  std::unique_ptr<SoundBoard> board;
  std::function<void()> onProgress;  // after each progress message was handled
};
