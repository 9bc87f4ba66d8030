// The keyboard as a user meets it in the real program: the stop key and
// bound keys against the focused button, system keys in the hotkey panel,
// hotkeys while the window's thread is busy, a second start, and the badges
// after bindings change. Keys and clicks are injected as hardware input, so
// they reach the program in the order a user gives them.
#include <algorithm>

#include "BindingFile.h"
#include "BoardFixture.h"
#include "QuoblyProcess.h"

namespace {

constexpr int kTabTop = 70;
constexpr int kClosedWidth = 430;
constexpr int kOpenWidth = 640;
// In the hotkey panel, once it is out (window coordinates).
constexpr POINT kKeyField = {450, 210};
constexpr RECT kKeyFieldText = {447, 202, 543, 218};
constexpr POINT kConfirm = {585, 212};
constexpr POINT kClearAll = {470, 262};
// A button's top right corner, where its keys show (relative to the button).
constexpr RECT kBadgeCorner = {50, 1, 67, 11};

class QuoblyKeysTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::wstring sounds = Wide(quobly.Folder()) + CategoryFolderName(1) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(sounds.c_str(), nullptr));
    const std::wstring media = Wide(MediaPath("cbr.mp3"));
    for (int i = 1; i <= 3; ++i) {
      ASSERT_TRUE(CopyFileW(media.c_str(), (sounds + L"s" + std::to_wstring(i) + L".mp3").c_str(), FALSE));
    }
    WIN32_FIND_DATAW found = {};
    UniqueFindHandle listing(FindFirstFileW((sounds + L"*.mp3").c_str(), &found));
    ASSERT_TRUE(static_cast<bool>(listing));
    do {
      files.push_back(Ansi(sounds + found.cFileName));  // the buttons' order
    } while (FindNextFileW(listing.Get(), &found));
  }
  void TearDown() override { EXPECT_EQ(quobly.Close(), 0); }

  bool StartInFront() {
    if (!quobly.Start()) return false;
    SetForegroundWindow(quobly.MainWindow());
    return PumpUntil([&] { return GetForegroundWindow() == quobly.MainWindow(); });
  }

  // Window coordinates of the middle of sound button `index`.
  static POINT Button(int index) {
    const ButtonPlace place = PlaceButton(index, kTabTop);
    return {place.x + 35, place.y + 15};
  }
  // A press and release of a mouse button at window coordinates `at`.
  void Click(POINT at, bool right = false) {
    RECT window = {};
    GetWindowRect(quobly.MainWindow(), &window);
    ClickScreen({window.left + at.x, window.top + at.y}, right);
  }
  int Width() const {
    RECT rect = {};
    GetWindowRect(quobly.MainWindow(), &rect);
    return rect.right - rect.left;
  }
  // Clicks until `done` holds: the window ignores input while its opening
  // animation runs, which has no end a test could wait for from outside.
  bool ClickUntil(POINT at, bool right, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 10; ++attempt) {
      Click(at, right);
      if (PumpUntil(done, 2000)) return true;
    }
    return false;
  }
  // Opens the hotkey panel for button `index` and waits until it is out and
  // takes clicks: the window's shape follows its new width only once the
  // window has handled the size change, after the width shows outside.
  bool OpenPanelFor(int index) {
    return ClickUntil(Button(index), true, [&] { return Width() == kOpenWidth && TakesClicksAt(kConfirm); });
  }
  bool TakesClicksAt(POINT at) const {
    RECT window = {};
    GetWindowRect(quobly.MainWindow(), &window);
    return GetAncestor(WindowFromPoint({window.left + at.x, window.top + at.y}), GA_ROOT) == quobly.MainWindow();
  }
  // Plays button `index` by a click, which also gives it the focus.
  bool PlayByClick(int index) {
    return ClickUntil(Button(index), false, [&] { return !OpenedFiles(quobly.Calls()).empty(); });
  }
  bool WaitForOpened(size_t count) {
    return PumpUntil([&] { return OpenedFiles(quobly.Calls()).size() >= count; }, 10000);
  }
  // The screen's pixels of `area`, in window coordinates.
  std::vector<COLORREF> ScreenPixels(const RECT& area) const {
    RECT window = {};
    GetWindowRect(quobly.MainWindow(), &window);
    const HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) pixels.push_back(GetPixel(screen, window.left + x, window.top + y));
    }
    ReleaseDC(nullptr, screen);
    return pixels;
  }
  // The screen's pixels over button `index`'s top right corner.
  std::vector<COLORREF> BadgeCorner(int index) const {
    const ButtonPlace place = PlaceButton(index, kTabTop);
    return ScreenPixels({place.x + kBadgeCorner.left, place.y + kBadgeCorner.top, place.x + kBadgeCorner.right,
                         place.y + kBadgeCorner.bottom});
  }
  // A small area around window point `at`.
  static RECT Around(POINT at) { return {at.x - 6, at.y - 4, at.x + 6, at.y + 4}; }
  // Gives `keys` and waits until the screen's pixels of `area` change. Keys
  // reach the program through its keyboard hook and clicks do not, so a
  // click right behind a key may arrive first unless the key's effect shows.
  bool PressUntilChanged(const RECT& area, const std::function<void()>& keys) {
    const std::vector<COLORREF> before = ScreenPixels(area);
    keys();
    return PumpUntil([&] { return ScreenPixels(area) != before; });
  }
  // Presses `key` in the panel's key field and waits for "确定", which shows
  // once a key is captured.
  bool CaptureKey(WORD key) {
    Click(kKeyField);
    return PressUntilChanged(Around(kConfirm), [&] { PressKey(key); });
  }

  QuoblyProcess quobly;
  std::vector<std::string> files;  // button 1, 2, 3
};

// The first press stops the sound; the repeats of a held space reach the
// window too, and must not press the focused button again.
TEST_F(QuoblyKeysTest, HeldSpaceKeepsTheSoundStopped) {
  ASSERT_TRUE(StartInFront());
  ASSERT_TRUE(PlayByClick(1));
  for (int press = 0; press < 4; ++press) InjectKey(VK_SPACE, true);
  InjectKey(VK_SPACE, false);
  // A right click queued behind the keys: once the panel is out, every key
  // before it has been handled.
  ASSERT_TRUE(OpenPanelFor(2));
  const std::vector<std::string> calls = quobly.Calls();
  EXPECT_EQ(OpenedFiles(calls), std::vector<std::string>{files[0]});
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const std::string& call) { return call.compare(0, 17, "BASS_ChannelPlay(") == 0; }),
            1);
  EXPECT_EQ(calls.back().compare(0, 10, "BASS_Free("), 0) << calls.back();
}

// Enter would press the focused button; bound, it is a hotkey and only
// plays its sound. In the panel's key field the same key is captured.
TEST_F(QuoblyKeysTest, ABoundKeyOnlyPlaysButTheKeyFieldCapturesIt) {
  ASSERT_TRUE(WriteBinding(quobly.BindingFile(), "回车键", files[2]));
  ASSERT_TRUE(StartInFront());
  ASSERT_TRUE(PlayByClick(1));
  PressKey(VK_RETURN);
  ASSERT_TRUE(OpenPanelFor(2));
  EXPECT_EQ(OpenedFiles(quobly.Calls()), (std::vector<std::string>{files[0], files[2]}));

  ASSERT_TRUE(CaptureKey(VK_RETURN));
  Click(kConfirm);
  EXPECT_TRUE(PumpUntil([&] { return ReadBinding(quobly.BindingFile(), "回车键") == files[1]; }));
}

// F10 and keys pressed with Alt held arrive as system keys: the key field
// takes them, and the window menu never takes over the keyboard.
TEST_F(QuoblyKeysTest, TheKeyFieldCapturesF10AndAltCombinations) {
  ASSERT_TRUE(StartInFront());
  ASSERT_TRUE(OpenPanelFor(1));
  ASSERT_TRUE(CaptureKey(VK_F10));
  Click(kConfirm);
  EXPECT_TRUE(PumpUntil([&] { return ReadBinding(quobly.BindingFile(), "F10键") == files[0]; }));
  ASSERT_TRUE(PumpUntil([&] { return Width() == kClosedWidth; }));  // "确定" slides the panel shut
  ASSERT_TRUE(OpenPanelFor(2));
  Click(kKeyField);
  ASSERT_TRUE(PressUntilChanged(Around(kConfirm), [] { InjectKey(VK_MENU, true); }));  // Alt alone is a key too
  ASSERT_TRUE(PressUntilChanged(kKeyFieldText, [] { PressKey(VK_F3); }));
  InjectKey(VK_MENU, false);
  Click(kConfirm);
  EXPECT_TRUE(PumpUntil([&] { return ReadBinding(quobly.BindingFile(), "F3键") == files[1]; }));
  EXPECT_EQ(ReadBinding(quobly.BindingFile(), "Alt键"), "");  // Alt came first, F3 replaced it
}

// The hook answers on a thread of its own: with the window's thread held
// still, keys typed into another program arrive there at once, and each of
// them plays once the window's thread runs again.
TEST_F(QuoblyKeysTest, KeysPassWhileTheWindowIsBusyAndPlayAfterwards) {
  ASSERT_TRUE(WriteBinding(quobly.BindingFile(), "F1键", files[0]));
  ASSERT_TRUE(WriteBinding(quobly.BindingFile(), "F2键", files[1]));
  ASSERT_TRUE(quobly.Start());
  FocusWindow other;
  ASSERT_TRUE(other.TakeFocus());
  UniqueKernelHandle uiThread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, quobly.UiThreadId()));
  ASSERT_TRUE(static_cast<bool>(uiThread));
  ASSERT_NE(SuspendThread(uiThread.Get()), static_cast<DWORD>(-1));
  PressKey(VK_F1);
  PressKey(VK_F2);
  PressKey(VK_F1);
  const bool passed = PumpUntil([&] { return other.KeysDown().size() == 3; });
  const bool nothingPlayedYet = OpenedFiles(quobly.Calls()).empty();
  ResumeThread(uiThread.Get());
  EXPECT_TRUE(passed) << other.KeysDown().size() << " of 3 keys arrived";
  EXPECT_TRUE(nothingPlayedYet);
  ASSERT_TRUE(WaitForOpened(3));
  EXPECT_EQ(OpenedFiles(quobly.Calls()), (std::vector<std::string>{files[0], files[1], files[0]}));
}

// A second start brings the hidden window back and ends; the one hook left
// plays a key once.
TEST_F(QuoblyKeysTest, ASecondStartShowsTheRunningWindowAndEnds) {
  ASSERT_TRUE(WriteBinding(quobly.BindingFile(), "F1键", files[0]));
  ASSERT_TRUE(quobly.Start());
  ShowWindow(quobly.MainWindow(), SW_HIDE);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(quobly.MainWindow()); }));
  EXPECT_EQ(quobly.StartAgain(), 0);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(quobly.MainWindow()) != FALSE; }));

  FocusWindow other;
  ASSERT_TRUE(other.TakeFocus());
  PressKey(VK_F1);
  ASSERT_TRUE(PumpUntil([&] { return other.KeysDown().size() == 1; }));
  ASSERT_TRUE(WaitForOpened(1));
  // Another key behind it, unbound: once it has passed the hook, so has
  // any second play of F1.
  PressKey(VK_F5);
  ASSERT_TRUE(PumpUntil([&] { return other.KeysDown().size() == 2; }));
  PumpUntil([] { return false; }, 500);
  EXPECT_EQ(OpenedFiles(quobly.Calls()).size(), 1u);
}

// The corner of a button shows the key that plays it now: a binding that
// moves leaves its old button, and "取消全部热键" clears every corner.
TEST_F(QuoblyKeysTest, BadgesFollowMovedAndClearedBindings) {
  ASSERT_TRUE(WriteBinding(quobly.BindingFile(), "F2键", files[0]));
  ASSERT_TRUE(StartInFront());
  const auto unbound = [&] { return BadgeCorner(3); };
  ASSERT_TRUE(PumpUntil([&] { return BadgeCorner(1) != unbound() && BadgeCorner(2) == unbound(); }));

  ASSERT_TRUE(OpenPanelFor(2));
  ASSERT_TRUE(CaptureKey(VK_F2));  // the hook plays button 1's sound meanwhile
  Click(kConfirm);
  ASSERT_TRUE(PumpUntil([&] { return ReadBinding(quobly.BindingFile(), "F2键") == files[1]; }));
  PressKey(VK_SPACE);  // stops it, so no progress covers the corners
  EXPECT_TRUE(PumpUntil([&] { return BadgeCorner(1) == unbound() && BadgeCorner(2) != unbound(); }));

  ASSERT_TRUE(PumpUntil([&] { return Width() == kClosedWidth; }));
  ASSERT_TRUE(OpenPanelFor(1));
  Click(kClearAll);
  EXPECT_TRUE(PumpUntil([&] { return BadgeCorner(1) == unbound() && BadgeCorner(2) == unbound(); }));
  EXPECT_EQ(ReadBinding(quobly.BindingFile(), "F2键"), "");
}

}  // namespace
