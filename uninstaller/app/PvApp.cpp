#include "PvApp.h"

#include <cstdlib>
#include <cwchar>

#include "PvHelpers.h"
#include "PvThread.h"

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
  CPvThread::Instance().Stop();
  m_bExiting = true;
  PostQuitMessage(0);
  std::exit(0);
}
