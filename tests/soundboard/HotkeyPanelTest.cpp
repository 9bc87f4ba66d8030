// The hotkey panel in a real host window: its slide, the key captured in its
// edit box, "确定" and "取消全部热键", driven through window messages.
#include <algorithm>
#include <optional>

#include "AppMessages.h"
#include "BindingFile.h"
#include "FrameworkFixture.h"
#include "HotkeyPanel.h"

namespace {

constexpr int kOpenWidth = 640;
// Inside the panel's controls once it is open (left edge at x = 430).
constexpr int kKeyFieldX = 450, kKeyFieldY = 210;
constexpr int kConfirmX = 585, kConfirmY = 212;
constexpr int kClearAllX = 470, kClearAllY = 262;

class HotkeyPanelTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    AttachHost();
    host.SetMessageHook([this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
      if (message != kMsgPanelSlide || !panel) return kExUndecided;
      // The width the step leaves: a step that finds later ones queued
      // takes the latest of them instead.
      panel->OnSlideStep(static_cast<int>(wParam));
      steps.push_back(Width());
      return 0;
    });
    bindingFile = Ansi(folder.Path()) + "音效配置.ini";
    panel.emplace(bindingFile);
    panel->Create(window, kWidth, kHeight, [this] { ++changes; });
  }
  void TearDown() override {
    panel.reset();  // its elements go while the framework still runs
    FrameworkTest::TearDown();
  }

  int Width() const {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
  }
  bool SlideTo(int width) {
    return PumpUntil([&] { return Width() == width; }, 3000);
  }
  void OpenForApplause() {
    panel->OpenFor("掌声", "D:\\音效\\掌声.mp3", "");
    ASSERT_TRUE(SlideTo(kOpenWidth));
  }
  void PressInKeyField(WPARAM key, LPARAM flags = 0) {
    Click(kKeyFieldX, kKeyFieldY);
    const LPARAM scanCode = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    SendMessageW(window, WM_KEYDOWN, key, (scanCode << 16) | flags | 1);
    PumpMessages();
  }
  void ClickAt(int x, int y) {
    Click(x, y);
    PumpMessages();
  }

  TempFolder folder;
  std::string bindingFile;
  std::optional<HotkeyPanel> panel;
  std::vector<int> steps;
  int changes = 0;  // times the panel said the binding file changed
};

TEST_F(HotkeyPanelTest, SlidesOpenInTwentyGrowingStepsAndBindsTheCapturedKey) {
  OpenForApplause();
  // Steps the window could not keep up with are skipped, never reordered.
  std::vector<int> widths;
  for (int k = 1, width = kWidth; k <= 20; ++k) widths.push_back(width += k);
  ASSERT_FALSE(steps.empty());
  EXPECT_TRUE(std::includes(widths.begin(), widths.end(), steps.begin(), steps.end()));
  EXPECT_EQ(steps.back(), kOpenWidth);

  PressInKeyField(VK_F2);
  EXPECT_EQ(panel->CapturedKey(), static_cast<UINT>(VK_F2));
  ClickAt(kConfirmX, kConfirmY);
  EXPECT_EQ(ReadBinding(bindingFile, "F2键"), "D:\\音效\\掌声.mp3");
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(SlideTo(kWidth));
}

TEST_F(HotkeyPanelTest, SpaceAndNamelessKeysCaptureNothingToBind) {
  OpenForApplause();
  PressInKeyField(VK_F2);
  PressInKeyField(VK_SPACE);
  EXPECT_EQ(panel->CapturedKey(), 0u);
  ClickAt(kConfirmX, kConfirmY);  // shown since F2, but nothing is captured
  PressInKeyField(VK_NUMPAD0);    // no hotkey name
  EXPECT_EQ(panel->CapturedKey(), 0u);
  ClickAt(kConfirmX, kConfirmY);
  PumpMessages();
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(Exists(folder.Path() + L"音效配置.ini"));
  EXPECT_EQ(Width(), kOpenWidth);
}

TEST_F(HotkeyPanelTest, ConfirmStaysHiddenUntilAKeyIsCaptured) {
  OpenForApplause();
  ClickAt(kConfirmX, kConfirmY);
  EXPECT_EQ(changes, 0);
  PressInKeyField('Q');
  ClickAt(kConfirmX, kConfirmY);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(ReadBinding(bindingFile, "Q键"), "D:\\音效\\掌声.mp3");
}

// Opened for another sound, the panel holds nothing from the last one: "确定"
// is hidden and binds nothing until a key is pressed for this sound.
TEST_F(HotkeyPanelTest, OpensCleanForEachSound) {
  OpenForApplause();
  PressInKeyField(VK_F2);
  panel->OpenFor("b", "C:\\b.mp3", "");
  EXPECT_EQ(panel->CapturedKey(), 0u);
  ClickAt(kConfirmX, kConfirmY);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(ReadBinding(bindingFile, "F2键"), "");
  PressInKeyField(VK_F3);
  ClickAt(kConfirmX, kConfirmY);
  EXPECT_EQ(ReadBinding(bindingFile, "F3键"), "C:\\b.mp3");
}

// The file stays, emptied: an installed copy may not make it again.
TEST_F(HotkeyPanelTest, ClearAllEmptiesTheBindingFile) {
  ASSERT_TRUE(WriteBinding(bindingFile, "F1键", "C:\\a.mp3"));
  OpenForApplause();
  ClickAt(kClearAllX, kClearAllY);
  EXPECT_TRUE(Exists(folder.Path() + L"音效配置.ini"));
  EXPECT_EQ(ReadFileBytes(folder.Path() + L"音效配置.ini"), "");
  EXPECT_EQ(ReadBinding(bindingFile, "F1键"), "");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Width(), kOpenWidth);  // the panel stays out
}

// A close asked for while the panel opens waits for the opening, so the
// window ends shut instead of stuck half way; repeated asks change nothing.
TEST_F(HotkeyPanelTest, SlidesAskedForDuringASlideFollowItInTurn) {
  panel->OpenFor("a", "C:\\a.mp3", "F1键");
  panel->OpenFor("b", "C:\\b.mp3", "");
  panel->Close();
  ASSERT_TRUE(PumpUntil([&] { return !steps.empty() && steps.back() == kWidth; }));
  const auto opened = std::find(steps.begin(), steps.end(), kOpenWidth);
  ASSERT_NE(opened, steps.end());
  EXPECT_TRUE(std::is_sorted(steps.begin(), opened));
  EXPECT_TRUE(std::is_sorted(opened, steps.end(), std::greater<int>()));
  EXPECT_EQ(Width(), kWidth);
  const size_t stepCount = steps.size();
  panel->Close();  // already shut
  Sleep(50);
  PumpMessages();
  EXPECT_EQ(steps.size(), stepCount);
}

TEST_F(HotkeyPanelTest, GoingAwayMidSlideStopsTheWorker) {
  const int threads = LiveThreadCount();
  panel->OpenFor("a", "C:\\a.mp3", "");
  Sleep(30);
  panel.reset();
  EXPECT_TRUE(WaitUntil([&] { return LiveThreadCount() <= threads; }));
  PumpMessages();  // steps still queued find no panel: the hook ignores them
}

}  // namespace
