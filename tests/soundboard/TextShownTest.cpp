// Quobly.exe's text on screen: the sound buttons' captions, the tab titles,
// the title and the help line each show pixels of their text colour, where
// the dark skin has none. Run in the project's prefix and in one without the
// Chinese font names (tests/plain-fonts-wine.sh). The screenshot stays beside
// the tests for a person to look at.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "BoardFixture.h"
#include "GdiplusSession.h"
#include "QuoblyProcess.h"
#include "ScreenShot.h"

namespace {

// White text, or white at the other tabs' alpha, over the dark skin.
bool Whitish(std::uint32_t pixel) {
  const int low = std::min({ScreenShot::Red(pixel), ScreenShot::Green(pixel), ScreenShot::Blue(pixel)});
  const int high = std::max({ScreenShot::Red(pixel), ScreenShot::Green(pixel), ScreenShot::Blue(pixel)});
  return low >= 150 && high - low <= 60;
}

// The help line's red.
bool Reddish(std::uint32_t pixel) {
  return ScreenShot::Red(pixel) >= 150 && ScreenShot::Green(pixel) <= 90 && ScreenShot::Blue(pixel) <= 90;
}

struct TextArea {
  const char* what;
  RECT place;  // in the window
  bool (*ink)(std::uint32_t);
};

TEST(TextShownTest, CaptionsTabTitlesTitleAndHelpLineAreDrawn) {
  QuoblyProcess quobly;
  const std::wstring sounds = Wide(quobly.Folder()) + CategoryFolderName(1) + L"\\";
  ASSERT_TRUE(CreateDirectoryW(sounds.c_str(), nullptr));
  const std::wstring media = Wide(MediaPath("cbr.mp3"));
  // Captions in Chinese: a font without Chinese glyphs draws them as nothing.
  for (const wchar_t* name : {L"掌声", L"欢呼", L"笑声", L"鼓声", L"口哨"}) {
    ASSERT_TRUE(CopyFileW(media.c_str(), (sounds + name + L".mp3").c_str(), FALSE));
  }
  ASSERT_TRUE(quobly.Start());
  const HWND window = quobly.MainWindow();
  // Opaque again once the opening animation is over.
  ASSERT_TRUE(WaitUntil([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) == 0; }, 20000));

  // Tab headers are 90 pixels wide from x 11, y 80, their titles right of a
  // 20-pixel icon; the buttons' row starts at y 110, a button every 80 pixels.
  std::vector<TextArea> areas = {
      {"title", {10, 0, 180, 50}, Whitish},
      {"help line", {170, 285, 400, 305}, Reddish},
  };
  for (int tab = 0; tab < 3; ++tab) areas.push_back({"tab title", {43 + 90 * tab, 80, 99 + 90 * tab, 110}, Whitish});
  for (int button = 0; button < 5; ++button) {
    areas.push_back({"caption", {24 + 80 * button, 112, 86 + 80 * button, 138}, Whitish});
  }
  RECT frame = {};
  GetWindowRect(window, &frame);
  const auto inkIn = [](const ScreenShot& shot, const TextArea& area) {
    return shot.Count(area.place.left, area.place.top, area.place.right, area.place.bottom, area.ink);
  };
  // The first paint may still be on its way.
  std::unique_ptr<ScreenShot> shot;
  WaitUntil(
      [&] {
        shot = std::make_unique<ScreenShot>(frame);
        return std::all_of(areas.begin(), areas.end(), [&](const TextArea& area) { return inkIn(*shot, area) > 0; });
      },
      10000);
  for (const TextArea& area : areas) {
    EXPECT_GE(inkIn(*shot, area), 8) << area.what << " at x " << area.place.left << ", y " << area.place.top;
  }
  GdiplusSession gdiplus;
  const wchar_t* name =
      std::getenv("QUOBLY_EXPECT_NO_CHINESE_NAMES") != nullptr ? L"text-plain-fonts.png" : L"text.png";
  shot->SavePng(ExecutableFolder() + name);
  EXPECT_EQ(quobly.Close(), 0);
}

}  // namespace
