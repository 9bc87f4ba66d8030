// What a process holds, for soaks that compare before and after: threads,
// top-level windows, handles, GDI and USER objects, committed memory. Wine
// reports 0 for the handle count and the GDI and USER objects; the other
// figures are real there too.
#pragma once

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

#include "Handles.h"

struct ProcessResources {
  DWORD threads = 0;
  DWORD windows = 0;
  DWORD handleCount = 0;
  DWORD gdiObjects = 0;
  DWORD userObjects = 0;
  SIZE_T pagefileUsage = 0;
};

namespace process_resources {

struct WindowCount {
  DWORD processId;
  DWORD count;
};

inline BOOL CALLBACK CountWindow(HWND wnd, LPARAM param) {
  auto* windows = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(wnd, &owner);
  if (owner == windows->processId) ++windows->count;
  return TRUE;
}

}  // namespace process_resources

// `process` needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ.
inline ProcessResources MeasureProcess(HANDLE process, DWORD processId) {
  ProcessResources now;
  UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 thread = {};
  thread.dwSize = sizeof thread;
  for (BOOL more = Thread32First(snapshot.Get(), &thread); more; more = Thread32Next(snapshot.Get(), &thread)) {
    if (thread.th32OwnerProcessID == processId) ++now.threads;
  }
  process_resources::WindowCount windows = {processId, 0};
  EnumWindows(process_resources::CountWindow, reinterpret_cast<LPARAM>(&windows));
  now.windows = windows.count;
  GetProcessHandleCount(process, &now.handleCount);
  now.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  now.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(process, &counters, sizeof counters)) now.pagefileUsage = counters.PagefileUsage;
  return now;
}

// Wine answers 0 for every process's GDI and USER objects, and a process
// that has shown a window holds some of each on Windows: a 0 here means the
// system does not count them.
inline bool GuiObjectsCounted(const ProcessResources& r) {
  return r.gdiObjects != 0 || r.userObjects != 0;
}

inline void PrintResources(const char* when, const ProcessResources& r) {
  std::printf(
      "%-7s threads %lu, windows %lu, handle count %lu, GDI objects %lu, USER objects %lu, pagefile usage %lu KB\n",
      when, static_cast<unsigned long>(r.threads), static_cast<unsigned long>(r.windows),
      static_cast<unsigned long>(r.handleCount), static_cast<unsigned long>(r.gdiObjects),
      static_cast<unsigned long>(r.userObjects), static_cast<unsigned long>(r.pagefileUsage / 1024));
}
