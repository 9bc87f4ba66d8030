#include <gtest/gtest.h>

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

// Reports, from the runtime's exit path, whether the timers were already
// stopped while an unrelated worker still ran.
struct ExitWitness {
  int baselineThreads = 0;
  ~ExitWitness() {
    std::fprintf(stderr, "exiting=%d extra_threads=%d\n", CPvApp::Instance().isExiting() ? 1 : 0,
                 LiveThreadCount() - baselineThreads);
  }
};

unsigned __stdcall BusyWorker(void*) {
  for (;;) Sleep(1);
}

void NoOp(void*) {}

void ExitWhileThreadsRun() {
  static ExitWitness witness;
  witness.baselineThreads = LiveThreadCount();
  CPvThread::Instance().StartTimer(1, NoOp, 60000, nullptr);
  CPvThread::Instance().StartThread(BusyWorker, nullptr, 1);
  CPvApp::Instance().ExitApp();
}

TEST(AppDeathTest, ExitAppStopsTimersAndEndsProcessWithCodeZero) {
  EXPECT_EXIT(ExitWhileThreadsRun(), testing::ExitedWithCode(0), "exiting=1 extra_threads=1");
}

}  // namespace
