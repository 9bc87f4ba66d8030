// The chrome of the main window on a real framework window: the title-bar
// buttons, the notification-area icon and its menu.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "AppMessages.h"
#include "PopupTestSupport.h"
#include "WindowChrome.h"

namespace {

// Button centres in a window 430 pixels wide.
constexpr int kMinimiseX = 430 - 75 + 12;
constexpr int kTopmostX = 430 - 105 + 12;
constexpr int kCloseX = 430 - 45 + 16;
constexpr int kButtonY = 17;
constexpr UINT kTrayIconId = 1;

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

class WindowChromeTest : public PopupFixture {
 protected:
  void SetUp() override {
    PopupFixture::SetUp();
    chrome = std::make_unique<WindowChrome>();
    chrome->AddTrayIcon(window);
    chrome->Create(window, kWidth);
    host.SetMessageHook([this](HWND, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
      if (chrome->OnShellRestart(message)) return 0;
      if (message == kMsgTrayIcon) {
        chrome->OnTrayIcon(static_cast<UINT>(lParam));
        return 0;
      }
      if (message == WM_DESTROY) chrome->RemoveTrayIcon();
      return kExUndecided;
    });
  }
  void TearDown() override {
    host.SetMessageHook(nullptr);
    chrome.reset();  // its pictures go while the framework still runs
    PopupFixture::TearDown();
  }

  std::string TipAt(int x, int y) const {
    const ExElement* element = host.HitTest(x, y);
    return element != nullptr ? element->TooltipText() : "(nothing)";
  }
  int OpacityAt(int x, int y) const {
    const ExElement* element = host.HitTest(x, y);
    return element != nullptr ? element->Opacity() : -1;
  }

  void TrayEvent(UINT mouseMessage) { SendMessageW(window, kMsgTrayIcon, kTrayIconId, mouseMessage); }

  // Opens the icon's menu and clicks item `index` (from 1) with the right
  // button, as a user who right-clicked the icon does.
  void ChooseFromTrayMenu(int index) {
    ExPopupMenu sameMenu;  // laid out as the chrome's own
    sameMenu.AddItem(std::string("显示"), 1);
    sameMenu.AddItem(std::string("关闭"), 2);
    const ExPixelRect item = sameMenu.Measure().items[index - 1];
    PopupSteps steps;
    steps
        .Then([&] {
          HWND menu = FindMenu();
          ASSERT_NE(menu, nullptr);
          const int x = (item.left + item.right) / 2;
          const int y = (item.top + item.bottom) / 2;
          SendMessageW(menu, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
          SendMessageW(menu, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
          SendMessageW(menu, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
        })
        .Start();
    TrayEvent(WM_RBUTTONUP);
    steps.Stop();
    EXPECT_FALSE(steps.ForcedClose());
    EXPECT_EQ(FindMenu(), nullptr);
  }

  std::unique_ptr<WindowChrome> chrome;
};

TEST_F(WindowChromeTest, TheTitleBarButtonsNameThemselvesAndTopmostStartsDimmed) {
  EXPECT_EQ(TipAt(kCloseX, kButtonY), "关闭");
  EXPECT_EQ(TipAt(kMinimiseX, kButtonY), "最小化");
  EXPECT_EQ(TipAt(kTopmostX, kButtonY), "置顶：关");
  EXPECT_EQ(OpacityAt(kTopmostX, kButtonY), 100);
}

TEST_F(WindowChromeTest, MinimiseHidesTheWindowCompletelyAndTheIconBringsItBackWhereItWas) {
  SetWindowPos(window, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const RECT before = WindowRect(window);
  ClickAt(window, kMinimiseX, kButtonY);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(IsIconic(window));  // not on the taskbar either

  TrayEvent(WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(window));
  const RECT after = WindowRect(window);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right - after.left, kWidth);
}

TEST_F(WindowChromeTest, TheIconCentresAWindowThatIsAlreadyVisible) {
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  TrayEvent(WM_LBUTTONUP);
  const RECT rect = WindowRect(window);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2);
  EXPECT_EQ(rect.bottom - rect.top, kHeight);
}

TEST_F(WindowChromeTest, ADoubleClickOnTheIconDoesNothingOfItsOwn) {
  ShowWindow(window, SW_HIDE);
  TrayEvent(WM_LBUTTONDBLCLK);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(FindMenu(), nullptr);
}

TEST_F(WindowChromeTest, TopmostTogglesTheWindowTheButtonsTextAndItsOpacity) {
  const auto topmost = [this] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_FALSE(topmost());
  ClickAt(window, kTopmostX, kButtonY);
  EXPECT_TRUE(topmost());
  EXPECT_EQ(TipAt(kTopmostX, kButtonY), "置顶：开");
  EXPECT_EQ(OpacityAt(kTopmostX, kButtonY), 255);

  ClickAt(window, kTopmostX, kButtonY);
  EXPECT_FALSE(topmost());
  EXPECT_EQ(TipAt(kTopmostX, kButtonY), "置顶：关");
  EXPECT_EQ(OpacityAt(kTopmostX, kButtonY), 100);
}

TEST_F(WindowChromeTest, CloseEndsTheWindowAndTakesTheIconAway) {
  ASSERT_TRUE(TrayIconPresent(window, kTrayIconId));
  ClickAt(window, kCloseX, kButtonY);
  EXPECT_TRUE(IsWindow(window));  // the close message is posted, not sent
  EXPECT_TRUE(WaitUntil([&] {
    PumpMessages();
    return !IsWindow(window);
  }));
  EXPECT_FALSE(TrayIconPresent(window, kTrayIconId));
}

TEST_F(WindowChromeTest, TheIconStaysUntilRemovedAndRemovingTwiceIsHarmless) {
  EXPECT_TRUE(TrayIconPresent(window, kTrayIconId));
  chrome->RemoveTrayIcon();
  EXPECT_FALSE(TrayIconPresent(window, kTrayIconId));
  chrome->RemoveTrayIcon();
  EXPECT_FALSE(TrayIconPresent(window, kTrayIconId));
}

TEST_F(WindowChromeTest, ARestartedShellGetsTheIconBackButARemovedIconStaysAway) {
  NOTIFYICONDATAA lost = {};
  lost.cbSize = sizeof lost;
  lost.hWnd = window;
  lost.uID = kTrayIconId;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &lost));  // as a crashed shell loses it
  SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(TrayIconPresent(window, kTrayIconId));

  chrome->RemoveTrayIcon();
  SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_FALSE(TrayIconPresent(window, kTrayIconId));
}

TEST_F(WindowChromeTest, TheMenuOpensJustBelowRightOfTheCursor) {
  POINT cursor = {};
  GetCursorPos(&cursor);
  RECT menuRect = {};
  PopupSteps steps;
  steps
      .Then([&] {
        HWND menu = FindMenu();
        ASSERT_NE(menu, nullptr);
        GetWindowRect(menu, &menuRect);
        PressKey(menu, VK_ESCAPE);
      })
      .Start();
  TrayEvent(WM_CONTEXTMENU);
  steps.Stop();
  EXPECT_FALSE(steps.ForcedClose());
  EXPECT_EQ(menuRect.left, cursor.x + 3);
  EXPECT_EQ(menuRect.top, cursor.y + 3);
  EXPECT_TRUE(IsWindow(window));  // dismissed: nothing happens
}

TEST_F(WindowChromeTest, TheMenusShowBringsBackAHiddenWindow) {
  ClickAt(window, kMinimiseX, kButtonY);
  ASSERT_FALSE(IsWindowVisible(window));
  ChooseFromTrayMenu(1);
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(WindowChromeTest, TheMenusCloseDestroysTheWindowAndTakesTheIconAway) {
  ChooseFromTrayMenu(2);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(TrayIconPresent(window, kTrayIconId));
}

}  // namespace
