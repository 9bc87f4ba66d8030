#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>

#include "DialogEffects.h"
#include "PixelCanvas.h"
#include "PvApp.h"
#include "PvButton.h"
#include "MemoryStream.h"
#include "PvDlg.h"
#include "PvImage.h"
#include "PvLayered.h"
#include "ScreenShot.h"
#include "PvText.h"
#include "TestSupport.h"

namespace {

LPARAM At(int x, int y) {
  return MAKELPARAM(x, y);
}

// Counts what the base dialog would hand to the system or post to itself.
class TestDlg : public CPvDlg {
 public:
  TestDlg() {
    m_button.Init(L"OK", 100, 4, 68, 22, 2, 1, nullptr, nullptr);
    m_button.m_pfnClick = [](void* context) { ++static_cast<TestDlg*>(context)->clicks; };
    m_label.SetText(L"Title", 10, 2, 80, 24, false);
  }

  void OnInit() override {
    CPvDlg::OnInit();
    AddControl(&m_label);
    AddControl(&m_button);
  }

  LRESULT WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
      ++dragStarts;  // the system's move loop is not entered in tests
      return 0;
    }
    if (message == kEffectFinishedMessage) ++effectsFinished;
    if (message == WM_APP) Close(static_cast<int>(wParam));
    return CPvDlg::WindowProc(wnd, message, wParam, lParam);
  }

  void PauseEffect(DWORD milliseconds) override {
    ++pauses;
    Sleep(milliseconds);
  }

  RECT StoredRect() const { return {m_x, m_y, m_width, m_height}; }
  using CPvDlg::SetBusy;

  // Shown at its first place and size: hide effects end the dialog and the
  // swell leaves it larger.
  void PutBack() {
    SetRect(50, 60, 300, 200);
    SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_width, m_height, SWP_NOZORDER | SWP_SHOWWINDOW);
  }

  CPvButton m_button;
  CPvText m_label;
  int clicks = 0;
  int dragStarts = 0;
  int effectsFinished = 0;
  std::atomic<int> pauses{0};  // frames of effects played, on any thread
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CPvApp::Instance().SetAppName(L"DialogTest");
    ASSERT_TRUE(dialog.Create(0, 50, 60, 300, 200, 0, false, nullptr));
    PumpMessages();
  }

  void Press(int x, int y) { SendMessageW(dialog.GetHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y)); }
  void Release(int x, int y) { SendMessageW(dialog.GetHwnd(), WM_LBUTTONUP, 0, At(x, y)); }
  void MoveTo(int x, int y) { SendMessageW(dialog.GetHwnd(), WM_MOUSEMOVE, 0, At(x, y)); }

  TestDlg dialog;
};

TEST_F(DialogTest, ClassIsNamedAfterTheApplicationAndControlsAreAttached) {
  wchar_t className[256] = {};
  GetClassNameW(dialog.GetHwnd(), className, 256);
  EXPECT_EQ(std::wstring(className).rfind(L"DialogTest_PVWND_", 0), 0u) << className;
  EXPECT_EQ(dialog.m_button.Host().window, dialog.GetHwnd());
  EXPECT_NE(dialog.m_button.Host().composite, nullptr);
  EXPECT_EQ(dialog.Context(), &dialog);

  TestDlg second;  // made within the same tick: it still gets a class of its own
  ASSERT_TRUE(second.Create(0, 0, 0, 100, 100, 0, false, nullptr));
  GetClassNameW(second.GetHwnd(), className, 256);
  wchar_t firstName[256] = {};
  GetClassNameW(dialog.GetHwnd(), firstName, 256);
  EXPECT_STRNE(className, firstName);
}

TEST(DialogCreateTest, FailedCreationLeavesNoWindowNorClass) {
  CPvApp::Instance().SetAppName(L"DialogCreateTest");
  TestDlg dialog;
  EXPECT_FALSE(dialog.Create(0, 0, 0, 100, 100, 0, false, reinterpret_cast<HWND>(0x7FFF0)));
  EXPECT_EQ(dialog.GetHwnd(), nullptr);
  ASSERT_TRUE(dialog.Create(0, 0, 0, 100, 100, 0, false, nullptr));
  HWND first = dialog.GetHwnd();
  ASSERT_TRUE(dialog.Create(0, 0, 0, 120, 100, 0, false, nullptr));  // replaces the first window
  EXPECT_FALSE(IsWindow(first));
}

TEST_F(DialogTest, PressInsideReleasedOutsideFiresNoClick) {
  Press(110, 10);
  EXPECT_EQ(dialog.m_button.m_nState, CPvButton::kPressed);
  Release(250, 150);
  EXPECT_EQ(dialog.clicks, 0);
  EXPECT_EQ(dialog.m_button.m_nState, CPvButton::kNormal);
  Release(110, 10);  // a release without its own press
  EXPECT_EQ(dialog.clicks, 0);

  Press(110, 10);
  Release(120, 20);
  EXPECT_EQ(dialog.clicks, 1);
  EXPECT_EQ(dialog.m_button.m_nState, CPvButton::kReleased);
  MoveTo(120, 20);
  EXPECT_EQ(dialog.m_button.m_nState, CPvButton::kHover);
  MoveTo(250, 150);
  EXPECT_EQ(dialog.m_button.m_nState, CPvButton::kNormal);
}

TEST_F(DialogTest, CaptionBandMovesTheWindowOnlyWhereNoControlTakesTheMouse) {
  Press(250, 10);  // empty caption band
  EXPECT_EQ(dialog.dragStarts, 1);
  Press(20, 10);  // over the label, which lets the mouse through
  EXPECT_EQ(dialog.dragStarts, 2);
  Press(168, 26);  // the button's edge counts as the button
  EXPECT_EQ(dialog.dragStarts, 2);
  Press(250, 30);  // below the band
  EXPECT_EQ(dialog.dragStarts, 2);

  dialog.m_button.SetVisible(false);
  Press(110, 10);
  EXPECT_EQ(dialog.dragStarts, 3);
  dialog.m_bDragAnywhere = true;
  Press(250, 150);
  EXPECT_EQ(dialog.dragStarts, 4);
  dialog.m_bDraggable = false;
  Press(250, 10);
  EXPECT_EQ(dialog.dragStarts, 4);
}

TEST_F(DialogTest, BusyDialogStillMovesButKeepsInputFromControls) {
  dialog.SetBusy(true);
  Press(110, 10);
  Release(110, 10);
  EXPECT_EQ(dialog.clicks, 0);
  EXPECT_EQ(dialog.m_button.m_nState, CPvButton::kNormal);
  Press(250, 10);
  EXPECT_EQ(dialog.dragStarts, 1);
}

TEST_F(DialogTest, RunModalReturnsTheResultGivenToClose) {
  PostMessageW(dialog.GetHwnd(), WM_APP, 1, 0);
  EXPECT_EQ(dialog.RunModal(CPvDlg::kNoEffect, false, true), 1);
  EXPECT_FALSE(IsWindowVisible(dialog.GetHwnd()));
  // Centred in the work area of the monitor under the cursor (no owner).
  POINT cursor = {};
  GetCursorPos(&cursor);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT stored = dialog.StoredRect();
  EXPECT_EQ(stored.left, monitor.rcWork.left + (monitor.rcWork.right - monitor.rcWork.left - 300) / 2);
  EXPECT_EQ(stored.top, monitor.rcWork.top + (monitor.rcWork.bottom - monitor.rcWork.top - 200) / 2);
}

TEST_F(DialogTest, AltF4AndWmCloseEndTheModalLoopWithCancel) {
  // The keystroke as the keyboard delivers it: the system turns it into
  // SC_CLOSE and that into WM_CLOSE.
  constexpr LPARAM kAltDown = 0x20000001;
  const struct {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } roads[] = {{WM_SYSKEYDOWN, VK_F4, kAltDown}, {WM_SYSCOMMAND, SC_CLOSE, 0}, {WM_CLOSE, 0, 0}};
  HWND wnd = dialog.GetHwnd();
  for (const auto& road : roads) {
    dialog.m_nResult = 7;  // a loop that ended some other way keeps it
    PostMessageW(wnd, road.message, road.wParam, road.lParam);
    EXPECT_EQ(dialog.RunModal(CPvDlg::kNoEffect, false, false), IDCANCEL) << road.message;
    EXPECT_TRUE(IsWindow(wnd)) << "the window goes with the dialog, not before";
    EXPECT_FALSE(IsWindowVisible(wnd));
  }
}

TEST_F(DialogTest, ClosingDuringTheShowEffectStopsItBeforeTheLoopReturns) {
  // A fade-in of ten 30 ms frames on a worker; WM_CLOSE comes at its start.
  PostMessageW(dialog.GetHwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog.RunModal(kEffectFadeIn, false, false), IDCANCEL);
  EXPECT_FALSE(dialog.IsEffectRunning());
  const int played = dialog.pauses;
  EXPECT_LT(played, 10) << "the effect played to its end";
  Sleep(200);
  EXPECT_EQ(dialog.pauses, played) << "the effect went on after the loop returned";
  EXPECT_FALSE(IsWindowVisible(dialog.GetHwnd())) << "the effect showed the closed dialog again";
}

TEST_F(DialogTest, EffectStartsWhereTheWindowWasMoved) {
  dialog.Show(CPvDlg::kNoEffect, false, SW_SHOW);
  // Where a drag leaves it: the system's move loop moves the window only.
  SetWindowPos(dialog.GetHwnd(), nullptr, 240, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  dialog.PlayEffect(kEffectUnrollSideways);
  RECT window = {};
  GetWindowRect(dialog.GetHwnd(), &window);
  EXPECT_EQ(window.left, 240);
  EXPECT_EQ(window.top, 170);
  const RECT stored = dialog.StoredRect();
  EXPECT_EQ(stored.left, 240);
  EXPECT_EQ(stored.top, 170);
  EXPECT_EQ(stored.right, 300);  // the size stays the dialog's own
}

TEST_F(DialogTest, UnknownEffectChangesNothingButReportsItsEnd) {
  dialog.Show(CPvDlg::kNoEffect, false, SW_SHOW);
  const RECT before = dialog.StoredRect();
  dialog.PlayEffect(14);
  PumpMessages();
  EXPECT_EQ(dialog.effectsFinished, 1);
  const RECT after = dialog.StoredRect();
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_TRUE(IsWindowVisible(dialog.GetHwnd()));
  EXPECT_FALSE(GetWindowLongW(dialog.GetHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(DialogTest, SecondEffectWhileOneRunsReturnsWithoutReporting) {
  dialog.Show(kEffectFadeOut, false, SW_SHOW);  // about 600 ms on a worker
  ASSERT_TRUE(WaitUntil([&] { return dialog.IsEffectRunning(); }));
  dialog.PlayEffect(14);
  ASSERT_TRUE(WaitUntil(
      [&] {
        PumpMessages();
        return !dialog.IsEffectRunning();
      },
      3000));
  Sleep(50);
  PumpMessages();
  EXPECT_EQ(dialog.effectsFinished, 1);
}

// Show plays its effect on a worker: the window's buffers must still be made
// and put on screen by the window's thread alone, in every effect, for a
// plain and for a layered dialog.
TEST(DialogPainterTest, EffectsOnAWorkerLeaveEveryPaintToTheWindowsThread) {
  CPvApp::Instance().SetAppName(L"DialogPainterTest");
  for (const bool layered : {false, true}) {
    TestDlg dialog;
    ASSERT_TRUE(dialog.Create(0, 50, 60, 300, 200, 0, layered, nullptr));
    const int offThreadBefore = CPvDC::OffThreadUses();
    for (int effect = kEffectSlideInBounce; effect <= kEffectRollUpSidewaysClose; ++effect) {
      dialog.PutBack();
      dialog.Show(effect, false, SW_SHOW);
      ASSERT_TRUE(WaitUntil(
          [&] {
            PumpMessages();
            return dialog.effectsFinished == effect + 1;
          },
          10000))
          << "effect " << effect << (layered ? " (layered)" : "");
    }
    EXPECT_GT(dialog.pauses, 100) << "the effects did not play their frames";
    EXPECT_EQ(CPvDC::OffThreadUses(), offThreadBefore) << (layered ? "layered" : "plain");
  }
}

bool NearlyWhite(uint32_t pixel) {
  return ScreenShot::Red(pixel) >= 235 && ScreenShot::Green(pixel) >= 235 && ScreenShot::Blue(pixel) >= 235;
}

// Every show effect that leaves the dialog on screen, the card flip also
// right after a fade, each followed by a hover repaint of the button: the
// dialog's picture and the hover still reach the screen, and no update of a
// layered window followed an attribute call without the style set anew
// (Windows refuses those updates; Wine draws them).
TEST(DialogLayeredTest, ShowEffectsLeaveTheDialogDrawableAndTheHoverReachesTheScreen) {
  CPvApp::Instance().SetAppName(L"DialogLayeredTest");
  const int shownEffects[] = {kEffectSlideInBounce, kEffectUnrollDown, kEffectOpenMiddleLine, kEffectFadeIn,
                              kEffectCardFlipIn,    kEffectZoomIn,     kEffectFadeIn,         kEffectUnrollSideways,
                              kEffectFadeIn,        kEffectZoomIn,     kEffectCardFlipIn};
  const int faultsBefore = CPvLayered::OrderFaults();
  for (const bool layered : {true, false}) {
    TestDlg dialog;
    ASSERT_TRUE(dialog.Create(0, 50, 60, 300, 200, 0, layered, nullptr));
    for (const int effect : shownEffects) {
      const char* kind = layered ? " (layered)" : " (plain)";
      dialog.PutBack();
      dialog.Show(effect, false, SW_SHOW);
      ASSERT_TRUE(WaitUntil(
          [&] {
            PumpMessages();
            return !dialog.IsEffectRunning();
          },
          10000))
          << effect << kind;
      PumpMessages();
      RECT window = {};
      GetWindowRect(dialog.GetHwnd(), &window);
      const RECT button = {window.left + 100, window.top + 4, window.left + 168, window.top + 26};
      ASSERT_TRUE(WaitUntil([&] {
        PumpMessages();
        return NearlyWhite(ScreenShot(window).At(150, 100));
      })) << "the dialog is not on screen after effect "
          << effect << kind;
      const std::vector<uint32_t> plain = ScreenShot(button).Area(0, 0, 68, 22);
      SendMessageW(dialog.GetHwnd(), WM_MOUSEMOVE, 0, At(120, 10));
      EXPECT_EQ(dialog.m_button.m_nState, CPvButton::kHover) << "after effect " << effect << kind;
      EXPECT_TRUE(WaitUntil([&] {
        PumpMessages();
        return ScreenShot(button).Area(0, 0, 68, 22) != plain;
      })) << "the hover did not reach the screen after effect "
          << effect << kind;
      SendMessageW(dialog.GetHwnd(), WM_MOUSEMOVE, 0, At(250, 150));
    }
  }
  EXPECT_EQ(CPvLayered::OrderFaults(), faultsBefore);
}

TEST_F(DialogTest, ZoomKeepsTheRectangleAndSwellEnlargesIt) {
  dialog.Show(CPvDlg::kNoEffect, false, SW_SHOW);
  const RECT before = dialog.StoredRect();
  dialog.PlayEffect(kEffectZoomIn);
  RECT after = dialog.StoredRect();
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_FALSE(dialog.IsBusy());

  dialog.PlayEffect(kEffectSwellVanish);
  after = dialog.StoredRect();
  const int a = 200 * 10 / 300;
  EXPECT_EQ(after.right, 300 + 60);      // width
  EXPECT_EQ(after.bottom, 200 + 6 * a);  // height
  EXPECT_TRUE(dialog.IsBusy());
}

// The effect runs from the moment Show returns, though its worker may not
// have started yet: a caller that waits for its end never sees it idle first.
TEST_F(DialogTest, ShowEffectCountsAsRunningAsSoonAsShowReturns) {
  dialog.Show(kEffectZoomIn, false, SW_SHOW);
  EXPECT_TRUE(dialog.IsEffectRunning());
  ASSERT_TRUE(WaitUntil(
      [&] {
        PumpMessages();
        return !dialog.IsEffectRunning();
      },
      10000));
  EXPECT_FALSE(dialog.IsBusy());
}

TEST_F(DialogTest, ClosingEffectEndsTheModalLoop) {
  dialog.Show(CPvDlg::kNoEffect, false, SW_SHOW);
  dialog.PlayEffect(kEffectRollUpSidewaysClose);
  EXPECT_FALSE(IsWindowVisible(dialog.GetHwnd()));
  dialog.PlayEffect(kEffectCardFoldOut);  // a top-level dialog folds out but is not ended
  PumpMessages();
  EXPECT_EQ(dialog.effectsFinished, 2);
}

}  // namespace

namespace {

class PaintedDlg : public CPvDlg {
 public:
  explicit PaintedDlg(int backgroundId) { m_nBackgroundId = backgroundId; }
};

COLORREF CompositePixel(const CPvDlg& dialog, int x, int y) {
  return GetPixel(dialog.GetCompositeDC(), x, y) & 0xFFFFFF;
}

TEST(DialogPaintTest, LayeredDialogComposesTheNineSliceBackground) {
  CPvApp::Instance().SetAppName(L"DialogPaintTest");
  PaintedDlg dialog(CPvDlg::kDefaultBackgroundId);
  ASSERT_TRUE(dialog.Create(0, 0, 0, 300, 200, 0, true, nullptr));
  EXPECT_TRUE(GetWindowLongW(dialog.GetHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  dialog.Show(CPvDlg::kNoEffect, true, SW_SHOW);
  dialog.Redraw();
  ASSERT_TRUE(WaitUntil([&] {
    PumpMessages();
    return CompositePixel(dialog, 150, 100) == RGB(255, 255, 255);
  }));
  const COLORREF title = CompositePixel(dialog, 150, 15);
  EXPECT_GT(GetBValue(title), 200);  // the blue title band, stretched to the full width
  EXPECT_LT(GetRValue(title), 100);
  EXPECT_NE(CompositePixel(dialog, 150, 185), RGB(255, 255, 255));  // the footer band
}

TEST(DialogPaintTest, NoBackgroundPictureFillsTheBackgroundColour) {
  CPvApp::Instance().SetAppName(L"DialogPaintTest");
  PaintedDlg dialog(0);
  dialog.m_backgroundColor = RGB(10, 200, 30);
  ASSERT_TRUE(dialog.Create(0, 0, 0, 120, 80, 0, false, nullptr));
  dialog.Show(CPvDlg::kNoEffect, false, SW_SHOW);
  dialog.Redraw();
  EXPECT_EQ(CompositePixel(dialog, 60, 40), RGB(10, 200, 30));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(dialog.GetHwnd(), region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));  // corners cut by the rounded region
  EXPECT_FALSE(PtInRegion(region, 1, 0));
  EXPECT_TRUE(PtInRegion(region, 2, 0));
  EXPECT_TRUE(PtInRegion(region, 0, 2));
  DeleteObject(region);
}

}  // namespace

namespace {

// A layered dialog over the default background, with a label that is lent
// the background buffer.
class BufferDlg : public CPvDlg {
 public:
  void OnInit() override {
    CPvDlg::OnInit();
    m_label.SetText(L"", 10, 2, 80, 24, false);
    AddControl(&m_label);
  }
  CPvText m_label;
};

// The pixel's bytes (blue, green, red, alpha from the low byte) of a 32-bit
// DIB section; false for any other bitmap.
bool ReadDibPixel(HDC hdc, int x, int y, DWORD* pixel) {
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(hdc, OBJ_BITMAP));
  DIBSECTION section = {};
  if (GetObjectW(bitmap, sizeof section, &section) != sizeof section || section.dsBm.bmBitsPixel != 32) return false;
  GdiFlush();
  const int row = section.dsBmih.biHeight > 0 ? section.dsBm.bmHeight - 1 - y : y;
  *pixel = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(section.dsBm.bmBits) +
                                          static_cast<size_t>(row) * section.dsBm.bmWidthBytes)[x];
  return true;
}

void WritePixel(HDC hdc, int x, int y, DWORD pixel) {
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(hdc, OBJ_BITMAP));
  DIBSECTION section = {};
  ASSERT_EQ(GetObjectW(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
  GdiFlush();
  const int row = section.dsBm.bmHeight - 1 - y;
  reinterpret_cast<DWORD*>(static_cast<BYTE*>(section.dsBm.bmBits) +
                           static_cast<size_t>(row) * section.dsBm.bmWidthBytes)[x] = pixel;
}

// The screen is the one the run asked for (the 16-bit run sets
// QUOBLY_EXPECT_SCREEN_DEPTH); any depth must keep the buffers' alpha.
void ExpectAskedScreenDepth() {
  const char* expected = std::getenv("QUOBLY_EXPECT_SCREEN_DEPTH");
  if (expected == nullptr) return;
  WindowDc screen(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen.Get(), BITSPIXEL), std::atoi(expected)) << "the screen is not of the asked depth";
}

TEST(DialogBufferTest, CompositeAndBackgroundAreThirtyTwoBitWithTheBackgroundsAlpha) {
  ExpectAskedScreenDepth();
  CPvApp::Instance().SetAppName(L"DialogBufferTest");
  BufferDlg dialog;
  ASSERT_TRUE(dialog.Create(0, 0, 0, 300, 200, 0, true, nullptr));
  dialog.Show(CPvDlg::kNoEffect, true, SW_SHOW);
  dialog.Redraw();
  ASSERT_TRUE(WaitUntil([&] {
    PumpMessages();
    return CompositePixel(dialog, 150, 100) == RGB(255, 255, 255);
  }));
  DWORD pixel = 0;
  ASSERT_TRUE(ReadDibPixel(dialog.GetCompositeDC(), 150, 100, &pixel)) << "the composite is no 32-bit DIB section";
  EXPECT_EQ(pixel >> 24, 255u) << "the opaque background lost its alpha in the composite";
  ASSERT_TRUE(ReadDibPixel(dialog.m_label.Host().background, 150, 100, &pixel)) << "the background is no 32-bit DIB";
  EXPECT_EQ(pixel >> 24, 255u) << "the opaque background lost its alpha";
}

TEST(DialogBufferTest, SnapshotKeepsHalfTransparentPixels) {
  ExpectAskedScreenDepth();
  WindowDc screen(nullptr);
  const RECT area = {0, 0, 4, 3};
  CPvDC buffer(screen.Get(), area, false, false, nullptr);
  WritePixel(buffer, 1, 1, 0x80402010);  // premultiplied: alpha 128
  WritePixel(buffer, 2, 1, 0xFF0000FF);  // opaque blue
  UniqueCom<IStream> stream = CreateStreamOverCopy(nullptr, 0);
  ASSERT_TRUE(CPvImage::Instance().DcToPngStream(buffer, 4, 3, stream.Get()));
  LARGE_INTEGER start = {};
  stream.Get()->Seek(start, STREAM_SEEK_SET, nullptr);
  std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromStream(stream.Get()));
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ(picture->GetLastStatus(), Gdiplus::Ok);
  Gdiplus::Color colour;
  picture->GetPixel(1, 1, &colour);
  EXPECT_NEAR(colour.GetA(), 128, 1);
  EXPECT_NEAR(colour.GetR(), 128, 2);  // straight alpha in the picture
  EXPECT_NEAR(colour.GetG(), 64, 2);
  EXPECT_NEAR(colour.GetB(), 32, 2);
  picture->GetPixel(2, 1, &colour);
  EXPECT_EQ(colour.GetValue(), 0xFF0000FFu);
  picture->GetPixel(0, 0, &colour);
  EXPECT_EQ(colour.GetA(), 0);
}

}  // namespace
