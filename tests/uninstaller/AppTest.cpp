#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "PvApp.h"
#include "PvHelpers.h"
#include "PvThread.h"
#include "TestSupport.h"

namespace {

TEST(AppTest, KnowsModuleAndProgramFolder) {
  CPvApp& app = CPvApp::Instance();
  EXPECT_EQ(app.GetInstance(), GetModuleHandleW(nullptr));
  EXPECT_EQ(std::wstring(app.GetAppDir()), ExecutableFolder());
  EXPECT_EQ(app.GetMainWnd(), nullptr);
  EXPECT_FALSE(app.isExiting());
}

TEST(AppTest, AppNameIsCutToItsField) {
  CPvApp& app = CPvApp::Instance();
  app.SetAppName(L"Tesk软件-卸载程序");
  EXPECT_STREQ(app.GetAppName(), L"Tesk软件-卸载程序");
  app.SetAppName(std::wstring(300, L'n').c_str());
  EXPECT_EQ(std::wstring(app.GetAppName()), std::wstring(CPvApp::kAppNameUnits - 1, L'n'));
}

LRESULT CALLBACK CountingProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++*reinterpret_cast<int*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  return DefWindowProcW(wnd, message, wParam, lParam);
}

TEST(AppTest, MsgLoopDispatchesUntilQuitAndReturnsItsCode) {
  int dispatched = 0;
  UniqueWindow window = CreateMessageWindow(L"AppTestCounter", CountingProc, &dispatched);
  ASSERT_TRUE(window);
  HWND wnd = window.Get();

  PostMessageW(wnd, WM_APP, 0, 0);
  PostMessageW(wnd, WM_APP, 0, 0);
  PostQuitMessage(7);
  EXPECT_EQ(CPvApp::Instance().MsgLoop(), 7);
  EXPECT_EQ(dispatched, 2);
}

// Threads of the exit scenarios, noted by the threads themselves.
std::atomic<DWORD> g_timerThread{0};
std::atomic<DWORD> g_workerThread{0};

bool StillRuns(DWORD id) {
  UniqueKernelHandle thread(OpenThread(SYNCHRONIZE, FALSE, id));
  return thread && WaitForSingleObject(thread.Get(), 0) == WAIT_TIMEOUT;
}

// Static destructors must not run while a thread of the program still runs
// (GDI+ would be shut down under it): should they, the exit code says so.
struct ExitWitness {
  ~ExitWitness() {
    if (StillRuns(g_timerThread) || StillRuns(g_workerThread)) std::_Exit(3);
  }
};

unsigned __stdcall BusyWorker(void*) {
  g_workerThread = GetCurrentThreadId();
  for (;;) Sleep(1);
}

// Stop wakes the sleeping timer for its last call, which names its thread.
void NoteTimerThread(void*) {
  g_timerThread = GetCurrentThreadId();
  std::fprintf(stderr, "timer_last_call\n");
}

void OverstayingCall(void*) {
  g_timerThread = GetCurrentThreadId();
  Sleep(60000);
}

void ExitWhileThreadsRun(PvTimerProc timerCall, DWORD timerPeriod) {
  static ExitWitness witness;
  CPvThread::Instance().StartTimer(1, timerCall, timerPeriod, nullptr);
  CPvThread::Instance().StartThread(BusyWorker, nullptr, 1);
  WaitUntil([timerPeriod] { return g_workerThread != 0 && (timerPeriod > 1000 || g_timerThread != 0); });
  CPvApp::Instance().ExitApp();
}

TEST(AppDeathTest, ExitAppStopsTimersAndEndsWithoutDestructorsUnderLiveThreads) {
  // The timer sleeps; ExitApp wakes it for its last call and waits for it.
  EXPECT_EXIT(ExitWhileThreadsRun(NoteTimerThread, 60000), testing::ExitedWithCode(0), "timer_last_call");
  // The timer's call overstays the allowance.
  EXPECT_EXIT(ExitWhileThreadsRun(OverstayingCall, 1), testing::ExitedWithCode(0), "");
}

}  // namespace
