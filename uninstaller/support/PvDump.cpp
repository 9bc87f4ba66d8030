#include "PvDump.h"

#include <dbghelp.h>
#include <shlobj.h>

#include <atomic>
#include <cwchar>

#include "Handles.h"

namespace {

constexpr wchar_t kDumpFolderName[] = L"CrashDumps";

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
  wchar_t localAppData[MAX_PATH] = {};
  const bool found =
      SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, localAppData));
  m_strLocalAppData = found ? localAppData : L"";
}

void InstallDump(const wchar_t* appName, const wchar_t* dumpTag, const tagCrashActions& actions) {
  CpvDump::Instance().Install(appName, dumpTag, actions);
}

bool CpvDump::WriteDump(const wchar_t* path, EXCEPTION_POINTERS* exception) {
  UniqueKernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, GetCurrentProcessId()));
  if (!process) return false;
  // A link at the name counts as a file there, never as a way elsewhere.
  UniqueFileHandle file(CreateFileW(path, GENERIC_ALL, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
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

std::wstring CpvDump::PrepareDumpFolder(const std::wstring& localAppData) {
  if (localAppData.empty()) return std::wstring();
  const std::wstring folder = localAppData + L'\\' + kDumpFolderName;
  CreateDirectoryW(folder.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  const bool plainFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
  return plainFolder ? folder + L'\\' : std::wstring();
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

  const std::wstring folder = g_instance != nullptr ? PrepareDumpFolder(g_instance->m_strLocalAppData) : std::wstring();
  if (!folder.empty()) {
    wchar_t program[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const wchar_t* slash = std::wcsrchr(program, L'\\');
    wchar_t name[MAX_PATH + 32];
    swprintf_s(name, L"%s_%d.dmp", slash != nullptr ? slash + 1 : program, static_cast<int>(GetTickCount()));
    WriteDump((folder + name).c_str(), exception);
  }

  if (g_instance != nullptr && g_instance->m_actions.showNotice != nullptr) {
    g_instance->m_actions.showNotice(g_instance->m_strAppName.c_str());
  }
  return EXCEPTION_EXECUTE_HANDLER;
}
