// The uninstaller's application object: what every window and helper asks
// for, the message loop, and the end of the process.
#pragma once

#include <windows.h>

#include <atomic>

class CPvApp {
 public:
  static constexpr int kAppNameUnits = 200;

  static CPvApp& Instance();

  CPvApp(const CPvApp&) = delete;
  CPvApp& operator=(const CPvApp&) = delete;

  // Dispatches messages until WM_QUIT and returns its exit code.
  int MsgLoop();

  // Copies `name`, cut to 199 units.
  void SetAppName(const wchar_t* name);

  // A wait for the application's own workers (its reports), which ExitApp
  // calls with what is left of its allowance; true when they ended.
  using WorkerWait = bool (*)(DWORD milliseconds);
  void SetWorkerWait(WorkerWait wait) { m_workerWait = wait; }

  // Ends the process with code 0: stops the timers and the movies and waits
  // a bounded time for them and for the application's workers, then ends
  // without running static destructors under any of them (see PvApp.cpp).
  [[noreturn]] void ExitApp();

  HINSTANCE GetInstance() const { return m_hInstance; }
  HWND GetMainWnd() const { return m_hMainWnd; }
  void SetMainWnd(HWND wnd) { m_hMainWnd = wnd; }
  const wchar_t* GetAppDir() const { return m_szAppDir; }
  const wchar_t* GetAppName() const { return m_szAppName; }
  bool isExiting() const { return m_bExiting; }

 private:
  CPvApp();

  HINSTANCE m_hInstance;
  HWND m_hMainWnd = nullptr;
  wchar_t m_szAppDir[MAX_PATH + 1] = {};
  wchar_t m_szAppName[kAppNameUnits] = {};
  WorkerWait m_workerWait = nullptr;
  std::atomic<bool> m_bExiting{false};
};
