// Small helpers shared by the Wine tests.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <functional>
#include <string>

#include "Handles.h"

// Polls `done` every 5 ms until it holds or `timeoutMs` passes.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(5);
  }
  return true;
}

// Measures with the high-resolution clock: GetTickCount moves in steps of
// 10 to 16 ms.
class Stopwatch {
 public:
  long long ElapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count();
  }

 private:
  std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// Threads of this process that have not ended.
inline int LiveThreadCount() {
  UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return -1;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  return count;
}

// A message-only window of a class of its own; its procedure finds
// `userData` under GWLP_USERDATA.
inline UniqueWindow CreateMessageWindow(const wchar_t* className, WNDPROC proc, void* userData) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  UniqueWindow wnd(
      CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr));
  SetWindowLongPtrW(wnd.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
  return wnd;
}

// The folder of the running test executable, with a trailing backslash.
inline std::wstring ExecutableFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}
