// The crash handler: any exception nothing else handles sends a crash ping,
// leaves a minidump beside the program and shows a notice that closes by
// itself; then the process ends.
#pragma once

#include <windows.h>

#include <string>

class CpvDump {
 public:
  // Created on first use, which installs the handler; lives until exit.
  static CpvDump& Instance();

  CpvDump(const CpvDump&) = delete;
  CpvDump& operator=(const CpvDump&) = delete;

  // `dumpTag` is the kind of the crash ping ("tk_uninstall_dump").
  void Install(const wchar_t* appName, const wchar_t* dumpTag);

  // The process's unhandled-exception filter. The first exception is
  // handled and the process then ends; any later one, from another thread,
  // waits for that end instead (the same thread failing again inside the
  // handler ends the process at once).
  static LONG WINAPI ExceptionFilter(EXCEPTION_POINTERS* exception);

  // Writes a normal minidump of this process with `exception` into a new
  // file at `path`. False, and no file left, when that fails.
  static bool WriteDump(const wchar_t* path, EXCEPTION_POINTERS* exception);

 private:
  CpvDump();
  ~CpvDump();

  LPTOP_LEVEL_EXCEPTION_FILTER m_previousFilter;
  std::wstring m_strAppName;  // kept; the notice is captioned from CPvApp
  std::wstring m_strDumpTag;
};

// Installs the crash handler with these names.
void InstallDump(const wchar_t* appName, const wchar_t* dumpTag);
