#include "PvDump.h"

#include <dbghelp.h>

#include <atomic>
#include <cwchar>

#include "Handles.h"

namespace {

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

void CpvDump::Install(const wchar_t* appName, const wchar_t* dumpTag, const tagCrashActions& actions) {
  m_strAppName = appName != nullptr ? appName : L"";
  m_strDumpTag = dumpTag != nullptr ? dumpTag : L"";
  m_actions = actions;
}

void InstallDump(const wchar_t* appName, const wchar_t* dumpTag, const tagCrashActions& actions) {
  CpvDump::Instance().Install(appName, dumpTag, actions);
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

  if (g_instance != nullptr && g_instance->m_actions.sendPing != nullptr) {
    g_instance->m_actions.sendPing(g_instance->m_strDumpTag.c_str());
  }

  wchar_t program[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  wchar_t dumpPath[MAX_PATH + 32];
  swprintf_s(dumpPath, L"%s_%d.dmp", program, static_cast<int>(GetTickCount()));
  WriteDump(dumpPath, exception);

  if (g_instance != nullptr && g_instance->m_actions.showNotice != nullptr) {
    g_instance->m_actions.showNotice(g_instance->m_strAppName.c_str());
  }
  return EXCEPTION_EXECUTE_HANDLER;
}
