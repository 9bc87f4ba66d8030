// Soak of the uninstaller's main dialog: its show and hide effects played 200
// times, every effect in turn and without the pauses between their frames,
// must leave no GDI or USER object, handle, window or memory behind. Wine
// reports no GDI and USER objects nor a handle count, so open handles and
// windows are counted here, and committed memory is measured; every figure is
// printed.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "MainDlg.h"
#include "PvApp.h"
#include "TestSupport.h"

namespace {

constexpr int kEffects = 14;
constexpr int kPlays = 200;
constexpr int kX = 100;
constexpr int kY = 100;
constexpr int kWidth = 450;  // the program's own size
constexpr int kHeight = 230;

struct Resources {
  DWORD gdiObjects;
  DWORD userObjects;
  DWORD handleCount;  // as the system reports it
  int openHandles;    // as found by asking after every handle value
  int windows;
  SIZE_T pagefileUsage;
  SIZE_T privateBytes;
};

int OpenHandles() {
  int open = 0;
  DWORD flags = 0;
  for (ULONG_PTR value = 4; value < 0x40000; value += 4) {
    open += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
  }
  return open;
}

BOOL CALLBACK CountWindow(HWND wnd, LPARAM count) {
  DWORD process = 0;
  GetWindowThreadProcessId(wnd, &process);
  if (process == GetCurrentProcessId()) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(wnd, CountWindow, count);
  }
  return TRUE;
}

int ProcessWindows() {
  int count = 0;
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

Resources Measure() {
  Resources now = {};
  now.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  now.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  GetProcessHandleCount(GetCurrentProcess(), &now.handleCount);
  now.openHandles = OpenHandles();
  now.windows = ProcessWindows();
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  now.pagefileUsage = counters.PagefileUsage;
  now.privateBytes = PrivateBytes();
  return now;
}

void Print(const char* when, const Resources& r) {
  std::printf(
      "%-7s GDI objects %lu, USER objects %lu, handle count %lu, open handles %d, windows %d, "
      "pagefile usage %lu KB, private %lu KB\n",
      when, static_cast<unsigned long>(r.gdiObjects), static_cast<unsigned long>(r.userObjects),
      static_cast<unsigned long>(r.handleCount), r.openHandles, r.windows,
      static_cast<unsigned long>(r.pagefileUsage / 1024), static_cast<unsigned long>(r.privateBytes / 1024));
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
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
    Pump();
  }
};

TEST(DialogSoakTest, TwoHundredEffectsLeaveNothingBehind) {
  CPvApp::Instance().SetAppName(L"DialogSoakTest");
  SoakDlg dialog;
  ASSERT_TRUE(dialog.Create(0, kX, kY, kWidth, kHeight, 0, true, nullptr));
  dialog.Show(CPvDlg::kNoEffect, false, SW_SHOW);
  Pump();
  for (int effect = 0; effect < kEffects; ++effect) dialog.PlayFromItsPlace(effect);  // fills the caches

  const Resources before = Measure();
  Stopwatch clock;
  for (int play = 0; play < kPlays; ++play) dialog.PlayFromItsPlace(play % kEffects);
  const Resources after = Measure();
  std::printf("%d effects in %lld ms\n", kPlays, clock.ElapsedMs());
  Print("before", before);
  Print("after", after);

  EXPECT_LE(after.gdiObjects, before.gdiObjects + 2);
  EXPECT_LE(after.userObjects, before.userObjects + 2);
  EXPECT_LE(after.handleCount, before.handleCount + 4);
  EXPECT_LE(after.openHandles, before.openHandles + 4);
  EXPECT_EQ(after.windows, before.windows);
  // One leaked frame of the 450 x 230 dialog is 400 KB, a leaked DC or
  // bitmap header about 1 KB: 200 plays of either pass 256 KB.
  EXPECT_LE(after.pagefileUsage, before.pagefileUsage + 256 * 1024);
  EXPECT_LE(after.privateBytes, before.privateBytes + 256 * 1024);
}

}  // namespace
