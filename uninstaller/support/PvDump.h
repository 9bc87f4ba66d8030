// The crash handler: any exception nothing else handles sends a crash ping,
// leaves a minidump in the user's own crash-dump folder and shows a notice
// that closes by itself; then the process ends. The ping and the notice are the
// application's: it gives them as callbacks, so this layer knows neither
// its reports nor its windows.
#pragma once

#include <windows.h>

#include <string>

// What the application does about a crash. Either may be null.
struct tagCrashActions {
  // Sends the crash ping of kind `dumpTag`; returns without waiting for it.
  void (*sendPing)(const wchar_t* dumpTag) = nullptr;
  // Tells the user; returns when the notice has closed.
  void (*showNotice)(const wchar_t* appName) = nullptr;
};

class CpvDump {
 public:
  // Created on first use, which installs the handler; lives until exit.
  static CpvDump& Instance();

  CpvDump(const CpvDump&) = delete;
  CpvDump& operator=(const CpvDump&) = delete;

  // `dumpTag` is the kind of the crash ping ("tk_uninstall_dump"). Looks up
  // where dumps go now, so that a crash need not ask the shell.
  void Install(const wchar_t* appName, const wchar_t* dumpTag, const tagCrashActions& actions);

  // The process's unhandled-exception filter. The first exception is
  // handled and the process then ends; any later one, from another thread,
  // waits for that end instead (the same thread failing again inside the
  // handler ends the process at once).
  static LONG WINAPI ExceptionFilter(EXCEPTION_POINTERS* exception);

  // Writes a normal minidump of this process with `exception` into a new
  // file at `path`. False, and no file left, when that fails.
  static bool WriteDump(const wchar_t* path, EXCEPTION_POINTERS* exception);

  // The folder dumps go to, with a trailing backslash: "CrashDumps" in
  // `localAppData`, the running user's local application data, which only
  // that user and administrators may write (the program folder may be
  // writable by any user, and this process may run elevated). Made when
  // missing. Empty when it cannot be made, or when anything but a plain
  // folder stands there: a link could lead the dump anywhere.
  static std::wstring PrepareDumpFolder(const std::wstring& localAppData);

 private:
  CpvDump();
  ~CpvDump();

  LPTOP_LEVEL_EXCEPTION_FILTER m_previousFilter;
  std::wstring m_strAppName;
  std::wstring m_strDumpTag;
  std::wstring m_strLocalAppData;  // empty when the shell did not say
  tagCrashActions m_actions;
};

// Installs the crash handler with these names and actions.
void InstallDump(const wchar_t* appName, const wchar_t* dumpTag, const tagCrashActions& actions);
