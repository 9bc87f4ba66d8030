#include "PvApp.h"

#include <cwchar>

#include "PvHelpers.h"
#include "PvImage.h"
#include "PvThread.h"

namespace {

// How long the program's end waits for a timer's last call, a movie's frame
// and the application's workers (a report's request, whose own time-outs are
// longer, is cut short).
constexpr DWORD kWorkerGraceMs = 1000;

}  // namespace

CPvApp& CPvApp::Instance() {
  static CPvApp instance;
  return instance;
}

CPvApp::CPvApp() : m_hInstance(GetModuleHandleW(nullptr)) {
  GetCurPath(m_szAppDir);
}

int CPvApp::MsgLoop() {
  MSG msg = {};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void CPvApp::SetAppName(const wchar_t* name) {
  wcsncpy_s(m_szAppName, kAppNameUnits, name, _TRUNCATE);
}

void CPvApp::ExitApp() {
  m_bExiting = true;
  // Every worker that draws or sends is asked to end and waited for, within
  // one allowance shared by all.
  const DWORD start = GetTickCount();
  const auto left = [start] {
    const DWORD spent = GetTickCount() - start;
    return spent < kWorkerGraceMs ? kWorkerGraceMs - spent : 0;
  };
  bool ended = CPvThread::Instance().Stop(static_cast<int>(left()));
  ended = CPvImage::Instance().StopMovies(left()) && ended;
  if (m_workerWait != nullptr) ended = m_workerWait(left()) && ended;
  // std::exit would run the static destructors (GDI+ shut down, the timer
  // table freed) on this thread while other threads still run. ExitProcess
  // first ends every other thread, and only then detaches the DLLs and, with
  // MinGW's runtime, runs the atexit handlers and so the static destructors:
  // none of them runs under a worker. What it ends here are threads that
  // hold nothing (the progress thread waiting in SendMessage); where a lock
  // was left owned anyway, Windows ends the process at the detach that needs
  // it instead of waiting. A worker of ours that overstayed may be inside
  // GDI+ or WinINet, whose detach would wait for the locks it holds: then
  // the process is terminated outright, running no detach and no handler
  // (the log is written unbuffered, so nothing is lost).
  if (ended) ExitProcess(0);
  if (!TerminateProcess(GetCurrentProcess(), 0)) ExitProcess(0);
  // The termination may still be under way when the call returns.
  for (;;) Sleep(INFINITE);
}
