#include "PvLog.h"

#include <cwchar>
#include <string>

#include "PvHelpers.h"
#include "PvReg.h"

namespace {
constexpr wchar_t kSwitchKey[] = L"SOFTWARE\\Parvane";
constexpr wchar_t kSwitchValue[] = L"debug";
}  // namespace

CPvLog& CPvLog::Instance() {
  static CPvLog instance;
  return instance;
}

bool CPvLog::isLog() {
  wchar_t value[MAX_PATH + 1] = {};
  CPvReg& reg = CPvReg::Instance();
  // A 64-bit installer writes the switch into the 64-bit view.
  const bool read = reg.GetRegInfo(HKEY_LOCAL_MACHINE, kSwitchKey, kSwitchValue, 0, value) == 1 ||
                    (isWow64() && reg.GetRegInfo(HKEY_LOCAL_MACHINE, kSwitchKey, kSwitchValue, 1, value) == 1);
  return read && std::wcscmp(value, L"1") == 0;
}

std::wstring CPvLog::GetLogFileName(const SYSTEMTIME& localTime) {
  wchar_t folder[MAX_PATH + 1];
  GetCurPath(folder);
  wchar_t name[MAX_PATH + 64];
  std::swprintf(name, sizeof name / sizeof name[0], L"%lsPV-%d-%d-%d.log", folder, localTime.wYear, localTime.wMonth,
                localTime.wDay);
  return name;
}

UniqueFileHandle CPvLog::OpenLogFile(const std::wstring& path) {
  // The reparse point itself is opened, never what it leads to.
  UniqueFileHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!file || !GetFileInformationByHandle(file.Get(), &info)) return UniqueFileHandle();
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || info.nNumberOfLinks > 1) return UniqueFileHandle();
  return file;
}

void CPvLog::WriteLog(const wchar_t* message) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  WriteLog(message, now);
}

void CPvLog::WriteLog(const wchar_t* message, const SYSTEMTIME& localTime) {
  if (message == nullptr || !isLog()) return;

  const UniqueFileHandle file = OpenLogFile(GetLogFileName(localTime));
  if (!file) return;

  wchar_t stamp[32];
  std::swprintf(stamp, sizeof stamp / sizeof stamp[0], L"%d-%02d-%02d %02d:%02d:%02d\t", localTime.wYear,
                localTime.wMonth, localTime.wDay, localTime.wHour, localTime.wMinute, localTime.wSecond);
  const std::wstring line = stamp + std::wstring(message) + L"\r\n";

  const int bytes =
      WideCharToMultiByte(CP_THREAD_ACP, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return;
  std::string ansi(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_THREAD_ACP, 0, line.c_str(), static_cast<int>(line.size()), &ansi[0], bytes, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(file.Get(), ansi.data(), static_cast<DWORD>(ansi.size()), &written, nullptr);
}

void WriteLog(const wchar_t* message) {
  CPvLog::Instance().WriteLog(message);
}
