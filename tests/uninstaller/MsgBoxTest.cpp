#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "DialogEffects.h"
#include "Handles.h"
#include "PvApp.h"
#include "PvMsgBox.h"
#include "TestSupport.h"

namespace {

// Notes the OK caption of every frame it paints, and where the window stood
// at the first pause of an effect.
class WatchedMsgBox : public CPvMsgBox {
 public:
  void DrawContent(HDC hdc) override {
    CPvMsgBox::DrawContent(hdc);
    const std::wstring& caption = OkButton().m_strCaption;
    if (captions.empty() || captions.back() != caption) captions.push_back(caption);
  }

  void PauseEffect(DWORD milliseconds) override {
    if (!paused.exchange(true)) GetWindowRect(m_hWnd, &firstStep);
    CPvMsgBox::PauseEffect(milliseconds);
  }

  std::vector<std::wstring> captions;
  std::atomic<bool> paused{false};
  RECT firstStep = {};
};

// Clicks to make while the box's modal loop runs: thread timers are
// dispatched by that loop.
struct Watch {
  CPvMsgBox* box = nullptr;
  std::vector<std::pair<int, int>> clicks;  // client points pressed, in order
  POINT dragTo = {-1, -1};                  // where the window goes before the first click
  UINT closeMessage = 0;                    // posted once the box shows, effect or not
  WPARAM closeWParam = 0;
  LPARAM closeLParam = 0;
};
Watch* g_watch = nullptr;

void CALLBACK ClickNext(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND wnd = g_watch->box->GetHwnd();
  if (g_watch->clicks.empty() || wnd == nullptr || !IsWindowVisible(wnd) || g_watch->box->IsEffectRunning()) return;
  if (g_watch->dragTo.x >= 0) {
    SetWindowPos(wnd, nullptr, g_watch->dragTo.x, g_watch->dragTo.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    g_watch->dragTo = {-1, -1};
  }
  const auto point = g_watch->clicks.front();
  g_watch->clicks.erase(g_watch->clicks.begin());
  if (g_watch->clicks.empty()) KillTimer(nullptr, timer);
  const LPARAM at = MAKELPARAM(point.first, point.second);
  SendMessageW(wnd, WM_MOUSEMOVE, 0, at);
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(wnd, WM_LBUTTONUP, 0, at);
}

void CALLBACK CloseOnceShown(HWND, UINT, UINT_PTR timer, DWORD) {
  if (g_watch == nullptr) {  // the box was never shown
    KillTimer(nullptr, timer);
    return;
  }
  HWND wnd = g_watch->box->GetHwnd();
  if (wnd == nullptr || !IsWindowVisible(wnd)) return;
  KillTimer(nullptr, timer);
  PostMessageW(wnd, g_watch->closeMessage, g_watch->closeWParam, g_watch->closeLParam);
}

class MsgBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    CPvApp::Instance().SetAppName(L"MsgBoxTest");
    m_watch.box = &m_box;
    g_watch = &m_watch;
  }
  void TearDown() override { g_watch = nullptr; }

  WatchedMsgBox m_box;
  Watch m_watch;
};

TEST_F(MsgBoxTest, CountdownPressesOkByItself) {
  Stopwatch clock;
  const int result = m_box.ShowMessage(nullptr, L"", L"标题", CPvMsgBox::kOkOnly, 3, 300, 200, 8, 9);

  EXPECT_EQ(result, CPvMsgBox::kOk);
  EXPECT_GE(clock.ElapsedMs(), 2900);  // three seconds counted down, not skipped
  EXPECT_EQ(m_box.captions, (std::vector<std::wstring>{L"确定", L"确定(2)", L"确定(1)", L"确定(0)"}));
  EXPECT_EQ(m_box.m_nPictureId, 60056) << "the one-button layout's picture";
  EXPECT_EQ(m_box.m_strTitle, L"标题");
}

TEST_F(MsgBoxTest, CancelAndCloseButtonsGiveTwoAndStopTheCountdown) {
  // Layout 1 on a 300 × 200 box: Cancel at x 160, the close button at x 260.
  m_watch.clicks = {{170, 180}};
  SetTimer(nullptr, 0, 20, ClickNext);
  // A countdown of 30 s would end in OK: Cancel says the click ended it.
  EXPECT_EQ(m_box.ShowMessage(nullptr, L"消息", nullptr, CPvMsgBox::kOkCancel, 30, 300, 200, -1, -1),
            CPvMsgBox::kCancel);
  EXPECT_EQ(m_box.m_strTitle, L"提示信息");
  EXPECT_EQ(m_box.m_nPictureId, 60057);
  Sleep(1200);
  EXPECT_EQ(m_box.OkButton().m_strCaption, L"确定") << "the countdown went on after the box closed";
}

TEST_F(MsgBoxTest, BoxWithoutButtonsClosesByItsCloseButtonOnly) {
  m_box.m_nPictureId = 60061;
  m_watch.clicks = {{150, 182}, {270, 8}};  // where an OK button would be, then the close button
  SetTimer(nullptr, 0, 20, ClickNext);
  EXPECT_EQ(m_box.ShowMessage(nullptr, L"", L"", 2, 0, 300, 200, -1, -1), CPvMsgBox::kCancel);
  EXPECT_TRUE(m_watch.clicks.empty());
  EXPECT_EQ(m_box.m_nPictureId, 60061) << "a caller's picture stays";
}

TEST_F(MsgBoxTest, CloseEffectStartsWhereTheBoxWasDragged) {
  m_watch.dragTo = {123, 145};
  m_watch.clicks = {{270, 8}};  // the close button
  SetTimer(nullptr, 0, 20, ClickNext);
  EXPECT_EQ(m_box.ShowMessage(nullptr, L"", nullptr, CPvMsgBox::kOkOnly, 0, 300, 200, -1, kEffectSwellVanish),
            CPvMsgBox::kCancel);
  // The swell's first frame: 10 pixels wider each side, 200 * 10 / 300 higher.
  ASSERT_TRUE(m_box.paused);
  EXPECT_EQ(m_box.firstStep.left, 123 - 10);
  EXPECT_EQ(m_box.firstStep.top, 145 - 6);
}

// The crash notice is such a box: Alt+F4 and WM_CLOSE, here while its open
// effect plays on a worker, end it like its close button and give the owner
// back.
TEST(MsgBoxCloseTest, AltF4AndWmCloseGiveCancelAndEnableTheOwner) {
  CPvApp::Instance().SetAppName(L"MsgBoxCloseTest");
  const struct {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } roads[] = {{WM_SYSKEYDOWN, VK_F4, 0x20000001}, {WM_CLOSE, 0, 0}};
  for (const auto& road : roads) {
    UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                       nullptr, nullptr));
    ASSERT_TRUE(owner);
    WatchedMsgBox box;
    Watch watch;
    watch.box = &box;
    watch.closeMessage = road.message;
    watch.closeWParam = road.wParam;
    watch.closeLParam = road.lParam;
    g_watch = &watch;
    SetTimer(nullptr, 0, 10, CloseOnceShown);
    // A countdown of 30 s would end in OK: Cancel says the close ended it.
    EXPECT_EQ(
        box.ShowMessage(owner.Get(), L"", nullptr, CPvMsgBox::kOkOnly, 30, 300, 200, kEffectZoomIn, kEffectSwellVanish),
        CPvMsgBox::kCancel)
        << road.message;
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));
    EXPECT_FALSE(box.IsEffectRunning());
    g_watch = nullptr;
  }
}

TEST_F(MsgBoxTest, FailedCreationReturnsCancelAtOnce) {
  // A countdown that ran anyway would have pressed OK by itself.
  EXPECT_EQ(m_box.ShowMessage(reinterpret_cast<HWND>(0x7FFF0), L"", nullptr, 0, 5, 300, 200, 8, 9), CPvMsgBox::kCancel);
}

}  // namespace
