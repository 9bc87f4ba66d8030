// The harness the Wine tests and the benchmarks share: waits, threads,
// windows and memory here; files, processes, messages, input, text and the
// audio trace in the headers it includes.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <functional>
#include <string>

#include "BassTrace.h"
#include "ChildProcess.h"
#include "Handles.h"
#include "MessagePump.h"
#include "SystemPlaces.h"
#include "TestFiles.h"
#include "TextConversion.h"
#include "UserInput.h"

// How long a test waits for an event at most: `timeoutMs`, times the factor
// in QUOBLY_TEST_TIMEOUT_SCALE where Wine runs emulated, many times slower.
// A limit only: tests wait for the event itself.
inline DWORD TestTimeout(DWORD timeoutMs) {
  static const DWORD scale = [] {
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"QUOBLY_TEST_TIMEOUT_SCALE", text, 16);
    const long value = length > 0 && length < 16 ? wcstol(text, nullptr, 10) : 1;
    return static_cast<DWORD>(value >= 1 && value <= 1000 ? value : 1);
  }();
  return timeoutMs * scale;
}

// Polls `done` every 5 ms until it holds or `timeoutMs` passes.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000) {
  const DWORD start = GetTickCount();
  const DWORD limit = TestTimeout(timeoutMs);
  while (!done()) {
    if (GetTickCount() - start > limit) return false;
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

struct ShownWindowSearch {
  DWORD processId;
  const wchar_t* title;
  HWND found;
};

inline BOOL CALLBACK MatchShownWindow(HWND wnd, LPARAM param) {
  auto* search = reinterpret_cast<ShownWindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(wnd, &owner);
  if (owner != search->processId || !IsWindowVisible(wnd)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(wnd, text, 256);
  if (search->title != nullptr && std::wstring(text) != search->title) return TRUE;
  search->found = wnd;
  return FALSE;
}

// A shown top-level window of the process, with the given title when one is
// given; nullptr when there is none.
inline HWND FindShownWindow(DWORD processId, const wchar_t* title = nullptr) {
  ShownWindowSearch search = {processId, title, nullptr};
  EnumWindows(MatchShownWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
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

// Committed private memory, summed over the address space: heaps, DIB
// sections and GDI+ bitmaps all land here (Wine reports no PrivateUsage).
inline SIZE_T PrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region = {};
  for (auto* address = static_cast<char*>(nullptr); VirtualQuery(address, &region, sizeof region) == sizeof region;
       address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    if (region.RegionSize == 0) break;
  }
  return total;
}
