// The debug log's switch and files, for tests that check what is logged.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "Handles.h"
#include "TestSupport.h"

// Sets HKEY_LOCAL_MACHINE\SOFTWARE\Parvane "debug" for the scope, then removes it.
class ScopedLogSwitch {
 public:
  explicit ScopedLogSwitch(const std::wstring& value) {
    UniqueRegKey key;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr);
    RegSetValueExW(key.Get(), L"debug", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  ~ScopedLogSwitch() { RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKey, L"debug"); }
  ScopedLogSwitch(const ScopedLogSwitch&) = delete;
  ScopedLogSwitch& operator=(const ScopedLogSwitch&) = delete;

 private:
  static constexpr wchar_t kKey[] = L"SOFTWARE\\Parvane";
};

// The log file of that day beside the test program.
inline std::wstring LogFilePath(const SYSTEMTIME& day) {
  return ExecutableFolder() + L"PV-" + std::to_wstring(day.wYear) + L"-" + std::to_wstring(day.wMonth) + L"-" +
         std::to_wstring(day.wDay) + L".log";
}

inline std::wstring TodaysLogFilePath() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LogFilePath(now);
}

// "网络连接异常: " in the GBK code page, the test prefix's ANSI code page.
constexpr char kNetworkErrorGbk[] = "\xcd\xf8\xc2\xe7\xc1\xac\xbd\xd3\xd2\xec\xb3\xa3: ";
