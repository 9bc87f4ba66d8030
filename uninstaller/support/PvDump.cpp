#include "PvDump.h"

#include <dbghelp.h>

#include <atomic>
#include <cwchar>

#include "Handles.h"
#include "PvApp.h"
#include "PvMsgBox.h"
#include "PvReport.h"

namespace {

constexpr int kNoticePicture = 60061;
constexpr int kNoticeCountdown = 5;
constexpr int kNoticeWidth = 300;
constexpr int kNoticeHeight = 200;
constexpr int kNoticeOpenEffect = 8;   // zoom in with overshoot
constexpr int kNoticeCloseEffect = 9;  // swell and vanish

CpvDump* g_instance = nullptr;
// The thread handling the first exception; 0 while none is. Claimed in one
// atomic step, so two threads crashing at once never both handle.
std::atomic<DWORD> g_handlingThread{0};

// A thread that crashed while another's crash is handled waits here until
// the process ends. It still answers messages sent to its windows, so that
// the notice (owned by the main window) never blocks on it.
[[noreturn]] void WaitForProcessEnd() {
  for (;;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

CpvDump& CpvDump::Instance() {
  static CpvDump instance;
  return instance;
}

CpvDump::CpvDump() : m_previousFilter(SetUnhandledExceptionFilter(ExceptionFilter)) {
  g_instance = this;
}

CpvDump::~CpvDump() {
  SetUnhandledExceptionFilter(m_previousFilter);
  g_instance = nullptr;
}

void CpvDump::Install(const wchar_t* appName, const wchar_t* dumpTag) {
  m_strAppName = appName != nullptr ? appName : L"";
  m_strDumpTag = dumpTag != nullptr ? dumpTag : L"";
}

void InstallDump(const wchar_t* appName, const wchar_t* dumpTag) {
  CpvDump::Instance().Install(appName, dumpTag);
}

bool CpvDump::WriteDump(const wchar_t* path, EXCEPTION_POINTERS* exception) {
  UniqueKernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, GetCurrentProcessId()));
  if (!process) return false;
  UniqueFileHandle file(CreateFileW(path, GENERIC_ALL, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  MINIDUMP_EXCEPTION_INFORMATION info = {};
  info.ThreadId = GetCurrentThreadId();
  info.ExceptionPointers = exception;
  info.ClientPointers = TRUE;
  const bool written = MiniDumpWriteDump(process.Get(), GetCurrentProcessId(), file.Get(), MiniDumpNormal,
                                         exception != nullptr ? &info : nullptr, nullptr, nullptr) != FALSE;
  file.Reset();
  if (!written) DeleteFileW(path);  // a half-written dump helps nobody
  return written;
}

LONG WINAPI CpvDump::ExceptionFilter(EXCEPTION_POINTERS* exception) {
  DWORD idle = 0;
  const DWORD self = GetCurrentThreadId();
  if (!g_handlingThread.compare_exchange_strong(idle, self)) {
    if (idle == self) return EXCEPTION_EXECUTE_HANDLER;  // failed inside the handler: end now
    WaitForProcessEnd();
  }

  if (g_instance != nullptr) DoReport(kCrashReportUrl, g_instance->m_strDumpTag.c_str(), L"");

  wchar_t program[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  wchar_t dumpPath[MAX_PATH + 32];
  swprintf_s(dumpPath, L"%s_%d.dmp", program, static_cast<int>(GetTickCount()));
  WriteDump(dumpPath, exception);

  CPvApp& app = CPvApp::Instance();
  CPvMsgBox notice;
  notice.m_nPictureId = kNoticePicture;
  notice.ShowMessage(app.GetMainWnd(), L"", app.GetAppName(), CPvMsgBox::kOkOnly, kNoticeCountdown, kNoticeWidth,
                     kNoticeHeight, kNoticeOpenEffect, kNoticeCloseEffect);
  return EXCEPTION_EXECUTE_HANDLER;
}
