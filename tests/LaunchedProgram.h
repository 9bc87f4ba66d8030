// A program started as its own process, found by its first visible window,
// for tests and benchmarks that drive a real program from outside.
#pragma once

#include <windows.h>

#include <string>

#include "Handles.h"

class LaunchedProgram {
 public:
  // Starts `path` (quoted, no arguments) with its own folder as the working
  // folder. Started() tells whether it ran.
  explicit LaunchedProgram(const std::wstring& path) {
    std::wstring commandLine = L"\"" + path + L"\"";
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info)) {
      return;
    }
    m_process.Reset(info.hProcess);
    m_thread.Reset(info.hThread);
    m_processId = info.dwProcessId;
  }
  // Ends a program the test left running.
  ~LaunchedProgram() {
    if (m_process && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(m_process.Get(), 1);
      WaitForSingleObject(m_process.Get(), 5000);
    }
  }
  LaunchedProgram(const LaunchedProgram&) = delete;
  LaunchedProgram& operator=(const LaunchedProgram&) = delete;

  bool Started() const { return static_cast<bool>(m_process); }
  HANDLE Process() const { return m_process.Get(); }
  DWORD ProcessId() const { return m_processId; }

  // The program's visible top-level window titled `title` (any title when
  // nullptr), waiting up to `timeoutMs` for it; nullptr when none showed.
  HWND WaitForWindow(const wchar_t* title, DWORD timeoutMs = 20000) const {
    const DWORD start = GetTickCount();
    do {
      if (HWND found = FindWindowOf(title)) return found;
      Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
  }

  HWND FindWindowOf(const wchar_t* title) const {
    Search search = {m_processId, title, nullptr};
    EnumWindows(&Search::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // The exit code once the program has ended within `timeoutMs`, or -1.
  long WaitForExit(DWORD timeoutMs = 20000) const {
    if (!m_process || WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD exitCode = 0;
    GetExitCodeProcess(m_process.Get(), &exitCode);
    return static_cast<long>(exitCode);
  }

 private:
  struct Search {
    DWORD processId;
    const wchar_t* title;
    HWND found;

    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
      auto* search = reinterpret_cast<Search*>(param);
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
      wchar_t text[256] = {};
      GetWindowTextW(window, text, 256);
      if (search->title != nullptr && std::wstring(text) != search->title) return TRUE;
      search->found = window;
      return FALSE;
    }
  };

  UniqueKernelHandle m_process;
  UniqueKernelHandle m_thread;
  DWORD m_processId = 0;
};
