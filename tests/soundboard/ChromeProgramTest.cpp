// Quobly.exe itself, run from a program folder of its own, driven from
// outside through its title-bar buttons and its notification-area icon's
// messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "QuoblyProcess.h"

namespace {

constexpr UINT kTrayIconId = 1;  // the program's one notification-area icon
constexpr UINT kTrayMessage = 32868;
constexpr int kWidth = 430;
constexpr int kButtonY = 17;
constexpr int kCloseX = kWidth - 45 + 16;
constexpr int kMinimiseX = kWidth - 75 + 12;
constexpr int kTopmostX = kWidth - 105 + 12;
// The icon's menu: two items of 22 pixels below an 8-pixel margin.
constexpr int kMenuItemX = 20;
constexpr int kMenuCloseY = 8 + 22 + 11;

void PostClick(HWND window, int x, int y) {
  PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

class ChromeProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(quobly.Start());
    window = quobly.MainWindow();
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(window, kTrayIconId); }, 5000));
    // The opening animation ignores the mouse; it is over when the window is
    // no longer layered.
    ASSERT_TRUE(WaitUntil([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) == 0; }, 5000));
  }

  RECT Rect() const {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
  }

  // The program ended by itself (its window went) and with exit code 0.
  void ExpectEndedCleanly() {
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 20000));
    EXPECT_EQ(quobly.Close(), 0);
  }

  QuoblyProcess quobly;
  HWND window = nullptr;
};

TEST_F(ChromeProgramTest, MinimiseHidesTheWindowAndTheIconsLeftClickBringsItBackWhereItWas) {
  const RECT before = Rect();
  PostClick(window, kMinimiseX, kButtonY);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
  EXPECT_FALSE(IsIconic(window));

  PostMessageW(window, kTrayMessage, 1, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
  const RECT after = Rect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right, before.right);
}

TEST_F(ChromeProgramTest, TopmostTurnsOnAndOffAgain) {
  const auto topmost = [&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_FALSE(topmost());
  PostClick(window, kTopmostX, kButtonY);
  EXPECT_TRUE(WaitUntil(topmost));
  PostClick(window, kTopmostX, kButtonY);
  EXPECT_TRUE(WaitUntil([&] { return !topmost(); }));
}

TEST_F(ChromeProgramTest, TheCloseButtonEndsTheProgramAndTakesTheIconAway) {
  PostClick(window, kCloseX, kButtonY);
  ExpectEndedCleanly();
  EXPECT_FALSE(TrayIconPresent(window, kTrayIconId));
}

TEST_F(ChromeProgramTest, TheIconMenusCloseEndsTheProgramAndTakesTheIconAway) {
  PostMessageW(window, kTrayMessage, 1, WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowW(L"Ex_LayerUI", L"Ex_LayerUI_Menu")) != nullptr; }));
  PostMessageW(menu, WM_MOUSEMOVE, 0, MAKELPARAM(kMenuItemX, kMenuCloseY));
  PostMessageW(menu, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(kMenuItemX, kMenuCloseY));
  PostMessageW(menu, WM_RBUTTONUP, 0, MAKELPARAM(kMenuItemX, kMenuCloseY));
  ExpectEndedCleanly();
  EXPECT_FALSE(TrayIconPresent(window, kTrayIconId));
}

}  // namespace
