// Soak of the uninstaller's main dialog: its show and hide effects played 200
// times, every effect in turn and without the pauses between their frames,
// must leave no GDI or USER object, handle, window or memory behind. Wine
// reports no GDI and USER objects nor a handle count, so open handles and
// windows are counted here, and committed memory is measured; every figure is
// printed.
//
// Open handles are counted after each half of the plays. Wine opens a few
// events and registry keys of its own once, when two threads first meet on a
// lock or a setting is first read, and that can happen in either half; a
// handle a play leaks is leaked again in the other half too.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "MainDlg.h"
#include "GuiObjectCheck.h"
#include "PvApp.h"
#include "TestSupport.h"

namespace {

constexpr int kEffects = 14;
constexpr int kPlays = 200;
constexpr int kX = 100;
constexpr int kY = 100;
constexpr int kWidth = 450;  // the program's own size
constexpr int kHeight = 230;

int OpenHandles() {
  int open = 0;
  DWORD flags = 0;
  for (ULONG_PTR value = 4; value < 0x40000; value += 4) {
    open += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
  }
  return open;
}

// The process's resources, and what Wine does report: the handles found open
// by asking after every handle value, and the committed private memory.
struct Resources {
  ProcessResources process;
  int openHandles;
  SIZE_T privateBytes;
};

Resources Measure() {
  return {MeasureProcess(GetCurrentProcess(), GetCurrentProcessId()), OpenHandles(), PrivateBytes()};
}

void Print(const char* when, const Resources& r) {
  PrintResources(when, r.process);
  std::printf("%-7s open handles %d, private memory %lu KB\n", when, r.openHandles,
              static_cast<unsigned long>(r.privateBytes / 1024));
}

// At most this many handles more in the half that grew less: 100 plays that
// each leak one, or one effect in 14 that leaks, pass it.
constexpr int kHandlesPerHalf = 2;

void ExpectNoHandleLeakedPerPlay(const Resources& before, const Resources& middle,
                                 const Resources& after) {
  const int first = middle.openHandles - before.openHandles;
  const int second = after.openHandles - middle.openHandles;
  EXPECT_LE(std::min(first, second), kHandlesPerHalf) << "first half " << first << ", second " << second;
}

// The main dialog put back in its place, shown, before every effect: hide
// effects end it and the swell leaves it larger.
class SoakDlg : public CMainDlg {
 public:
  void PauseEffect(DWORD) override {}

  void PlayFromItsPlace(int effect) {
    m_x = kX;
    m_y = kY;
    m_width = kWidth;
    m_height = kHeight;
    SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_width, m_height, SWP_NOZORDER | SWP_SHOWWINDOW);
    PlayEffect(effect);
    PumpMessages();
  }
};

TEST(DialogSoakTest, TwoHundredEffectsLeaveNothingBehind) {
  CPvApp::Instance().SetAppName(L"DialogSoakTest");
  SoakDlg dialog;
  ASSERT_TRUE(dialog.Create(0, kX, kY, kWidth, kHeight, 0, true, nullptr));
  dialog.Show(CPvDlg::kNoEffect, false, SW_SHOW);
  PumpMessages();
  for (int effect = 0; effect < kEffects; ++effect) dialog.PlayFromItsPlace(effect);  // fills the caches

  const Resources before = Measure();
  Stopwatch clock;
  for (int play = 0; play < kPlays / 2; ++play) dialog.PlayFromItsPlace(play % kEffects);
  const Resources middle = Measure();
  for (int play = kPlays / 2; play < kPlays; ++play) dialog.PlayFromItsPlace(play % kEffects);
  const Resources after = Measure();
  std::printf("%d effects in %lld ms\n", kPlays, clock.ElapsedMs());
  Print("before", before);
  Print("middle", middle);
  Print("after", after);

  ExpectGuiObjectsWithin(before.process, after.process, 2);
  EXPECT_LE(after.process.handleCount, before.process.handleCount + 4);
  ExpectNoHandleLeakedPerPlay(before, middle, after);
  EXPECT_EQ(after.process.windows, before.process.windows);
  EXPECT_LE(after.process.threads, before.process.threads);
  // One leaked frame of the 450 x 230 dialog is 400 KB, a leaked DC or
  // bitmap header about 1 KB: 200 plays of either pass 256 KB.
  EXPECT_LE(after.process.pagefileUsage, before.process.pagefileUsage + 256 * 1024);
  EXPECT_LE(after.privateBytes, before.privateBytes + 256 * 1024);
}

// A dialog closed by WM_CLOSE as its open effect starts, every effect in
// turn, 200 times: the effect's worker is stopped before the modal loop
// returns, and neither threads nor memory grow.
class ClosingDlg : public CPvDlg {
 public:
  int ShowAndClose(int effect) {
    PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return RunModal(effect, false, false);
  }
};

TEST(DialogSoakTest, ClosingDuringTheOpenEffectTwoHundredTimesLeavesNothingBehind) {
  CPvApp::Instance().SetAppName(L"DialogSoakTest");
  ClosingDlg dialog;
  ASSERT_TRUE(dialog.Create(0, kX, kY, kWidth, kHeight, 0, true, nullptr));
  for (int effect = 0; effect < kEffects; ++effect) dialog.ShowAndClose(effect);  // fills the caches

  const auto closeEachEffect = [&dialog](int from, int to) {
    for (int play = from; play < to; ++play) {
      ASSERT_EQ(dialog.ShowAndClose(play % kEffects), IDCANCEL) << play;
      ASSERT_FALSE(dialog.IsEffectRunning()) << play;
    }
    PumpMessages();
  };
  const Resources before = Measure();
  const int threadsBefore = LiveThreadCount();
  closeEachEffect(0, kPlays / 2);
  const Resources middle = Measure();
  closeEachEffect(kPlays / 2, kPlays);
  const Resources after = Measure();
  Print("before", before);
  Print("middle", middle);
  Print("after", after);

  EXPECT_EQ(LiveThreadCount(), threadsBefore);
  EXPECT_LE(after.process.gdiObjects, before.process.gdiObjects + 2);
  ExpectNoHandleLeakedPerPlay(before, middle, after);
  EXPECT_EQ(after.process.windows, before.process.windows);
  EXPECT_LE(after.privateBytes, before.privateBytes + 256 * 1024);
}

}  // namespace
