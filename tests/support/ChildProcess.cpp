#include "ChildProcess.h"

#include "TestSupport.h"

bool ChildProcess::Start(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder,
                         DWORD creationFlags) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, creationFlags, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  m_process.Reset(info.hProcess);
  m_id = info.dwProcessId;
  return true;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) {
  return m_process && WaitForSingleObject(m_process.Get(), TestTimeout(timeoutMs)) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (m_process) GetExitCodeProcess(m_process.Get(), &code);
  return code;
}

void ChildProcess::Kill() {
  if (!m_process || WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0) return;
  TerminateProcess(m_process.Get(), 1);
  WaitForSingleObject(m_process.Get(), INFINITE);
}

std::optional<DWORD> RunToExit(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder,
                               DWORD timeoutMs) {
  ChildProcess child;
  if (!child.Start(program, arguments, folder)) return std::nullopt;
  if (!child.WaitForExit(timeoutMs)) {
    child.Kill();
    return std::nullopt;
  }
  return child.ExitCode();
}
