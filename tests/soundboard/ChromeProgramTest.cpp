// Quobly.exe itself, run from a program folder of its own (the program and
// bass.dll), driven from outside through its title-bar buttons and its
// notification-area icon's messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "LaunchedProgram.h"
#include "TestSupport.h"

namespace {

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

bool TrayIconPresent(HWND window) {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_TIP;
  lstrcpyA(icon.szTip, "Quobly");
  return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

class ChromeProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* file : {L"Quobly.exe", L"bass.dll"}) {
      ASSERT_TRUE(CopyFileW((ExecutableFolder() + file).c_str(), (folder.Path() + file).c_str(), FALSE));
    }
    program = std::make_unique<LaunchedProgram>(folder.Path() + L"Quobly.exe");
    ASSERT_TRUE(program->Started());
    window = program->WaitForWindow(L"Quobly");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(window); }, 5000));
    // The opening animation ignores the mouse; it is over when the window is
    // no longer layered.
    ASSERT_TRUE(WaitUntil([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) == 0; }, 5000));
  }
  void TearDown() override {
    program.reset();  // before the folder goes
  }

  RECT Rect() const {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
  }

  TempFolder folder;
  std::unique_ptr<LaunchedProgram> program;
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
  EXPECT_EQ(program->WaitForExit(), 0);
  EXPECT_FALSE(TrayIconPresent(window));
}

TEST_F(ChromeProgramTest, TheIconMenusCloseEndsTheProgramAndTakesTheIconAway) {
  PostMessageW(window, kTrayMessage, 1, WM_RBUTTONUP);
  HWND menu = program->WaitForWindow(L"Ex_LayerUI_Menu", 5000);
  ASSERT_NE(menu, nullptr);
  PostMessageW(menu, WM_MOUSEMOVE, 0, MAKELPARAM(kMenuItemX, kMenuCloseY));
  PostMessageW(menu, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(kMenuItemX, kMenuCloseY));
  PostMessageW(menu, WM_RBUTTONUP, 0, MAKELPARAM(kMenuItemX, kMenuCloseY));
  EXPECT_EQ(program->WaitForExit(), 0);
  EXPECT_FALSE(TrayIconPresent(window));
}

}  // namespace
