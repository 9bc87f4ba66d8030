// The uninstaller's debug log: dated lines appended to one file per day in
// the program folder, written only while the machine's log switch is on.
// Users may be able to write that folder while this program runs elevated,
// so a log name that leads to another file (a link, a second name of a
// file) is never written: that day goes unlogged.
#pragma once

#include <windows.h>

#include <string>

#include "Handles.h"

class CPvLog {
 public:
  static CPvLog& Instance();

  CPvLog(const CPvLog&) = delete;
  CPvLog& operator=(const CPvLog&) = delete;

  // Appends "<date> <time>\t<message>" to today's file, in the thread's ANSI
  // code page, when the switch is on; any failure drops the line silently.
  // Safe on several threads at once: every line is one open, append, close.
  void WriteLog(const wchar_t* message);

  // The same as of the given local time, which names the file and dates the line.
  void WriteLog(const wchar_t* message, const SYSTEMTIME& localTime);

 private:
  CPvLog() = default;

  // The switch: HKEY_LOCAL_MACHINE\SOFTWARE\Parvane "debug" reads exactly
  // "1". Read afresh on every call, so it can be turned on while running.
  static bool isLog();
  static std::wstring GetLogFileName(const SYSTEMTIME& localTime);
  // Opens or creates the log at `path` for appending; nothing when it is a
  // link or one of several names of a file.
  static UniqueFileHandle OpenLogFile(const std::wstring& path);
};

// Forwards to CPvLog::Instance().WriteLog.
void WriteLog(const wchar_t* message);
