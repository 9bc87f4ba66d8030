// A program a test starts and waits for.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "Handles.h"

class ChildProcess {
 public:
  // Starts `program` (its path is quoted for it) with `arguments`, in
  // `folder` (this process's own when empty); the child inherits this
  // process's environment as it stands now. False when it cannot start.
  bool Start(const std::wstring& program, const std::wstring& arguments = std::wstring(),
             const std::wstring& folder = std::wstring(), DWORD creationFlags = 0);

  // Waits up to TestTimeout(timeoutMs) for the program to end.
  bool WaitForExit(DWORD timeoutMs);
  // The exit code once it has ended; STILL_ACTIVE before.
  DWORD ExitCode() const;

  bool Started() const { return static_cast<bool>(m_process); }
  HANDLE Handle() const { return m_process.Get(); }
  DWORD Id() const { return m_id; }
  // Ends the program if it still runs and waits for it to go.
  void Kill();

 private:
  UniqueKernelHandle m_process;
  DWORD m_id = 0;
};

// Runs the program to its end: its exit code, or none when it could not
// start or did not end within TestTimeout(timeoutMs) (it is then killed).
std::optional<DWORD> RunToExit(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder,
                               DWORD timeoutMs);
