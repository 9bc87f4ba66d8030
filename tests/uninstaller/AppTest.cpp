#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
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

// Threads of the exit scenario, noted by the threads themselves.
std::atomic<DWORD> g_timerThread{0};
std::atomic<DWORD> g_workerThread{0};

// A thread that Stop had to terminate may take a moment to be gone.
bool ThreadEndsSoon(DWORD id) {
  UniqueKernelHandle thread(OpenThread(SYNCHRONIZE, FALSE, id));
  return !thread || WaitForSingleObject(thread.Get(), 1000) == WAIT_OBJECT_0;
}

// Reports, from the runtime's exit path, whether the timer had already been
// stopped while an unrelated worker still ran.
struct ExitWitness {
  ~ExitWitness() {
    std::fprintf(stderr, "exiting=%d timer_ended=%d worker_ended=%d\n", CPvApp::Instance().isExiting() ? 1 : 0,
                 ThreadEndsSoon(g_timerThread) ? 1 : 0, ThreadEndsSoon(g_workerThread) ? 1 : 0);
  }
};

unsigned __stdcall BusyWorker(void*) {
  g_workerThread = GetCurrentThreadId();
  for (;;) Sleep(1);
}

// Stop wakes the sleeping timer for its last call, which names its thread.
void NoteTimerThread(void*) {
  g_timerThread = GetCurrentThreadId();
}

void ExitWhileThreadsRun() {
  static ExitWitness witness;
  CPvThread::Instance().StartTimer(1, NoteTimerThread, 60000, nullptr);
  CPvThread::Instance().StartThread(BusyWorker, nullptr, 1);
  WaitUntil([] { return g_workerThread != 0; });
  CPvApp::Instance().ExitApp();
}

TEST(AppDeathTest, ExitAppStopsTimersAndEndsProcessWithCodeZero) {
  EXPECT_EXIT(ExitWhileThreadsRun(), testing::ExitedWithCode(0), "exiting=1 timer_ended=1 worker_ended=0");
}

}  // namespace
