// Quobly.exe run as a real program from a program folder of its own (the
// program and bass.dll copied from beside the tests), with its calls into the
// audio library traced, and keys injected as hardware input from this
// process while a window of this process has the focus.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Handles.h"
#include "TestSupport.h"
#include "audio/AudioMedia.h"

// Pumps this thread's messages while waiting, so its windows take input.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  timeoutMs = TestTimeout(timeoutMs);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
}

// One key event as a keyboard would give it (virtual key and scan code).
inline bool InjectKey(WORD virtualKey, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  return SendInput(1, &input, sizeof input) == 1;
}

inline void PressKey(WORD virtualKey) {
  InjectKey(virtualKey, true);
  InjectKey(virtualKey, false);
}

// A plain top-level window of this process that notes the keys it receives.
class FocusWindow {
 public:
  FocusWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuoblyTestFocusWindow";
    RegisterClassW(&windowClass);
    m_window.Reset(CreateWindowExW(0, windowClass.lpszClassName, L"other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   600, 500, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr));
    SetWindowLongPtrW(m_window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }

  HWND Handle() const { return m_window.Get(); }
  // Takes the focus from whatever has it and makes sure it stays (a window
  // that is still showing itself may take it back); false when it cannot.
  bool TakeFocus() {
    for (int attempt = 0; attempt < 5; ++attempt) {
      SetForegroundWindow(m_window.Get());
      SetFocus(m_window.Get());
      const bool lost = PumpUntil([this] { return GetForegroundWindow() != m_window.Get(); }, 500);
      if (!lost) return true;
    }
    return false;
  }
  const std::vector<UINT>& KeysDown() const { return m_keysDown; }
  void ClearKeys() { m_keysDown.clear(); }

 private:
  static LRESULT CALLBACK Procedure(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FocusWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (self != nullptr && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
      self->m_keysDown.push_back(static_cast<UINT>(wParam));
    }
    return DefWindowProcW(wnd, message, wParam, lParam);
  }

  UniqueWindow m_window;
  std::vector<UINT> m_keysDown;
};

// The files of the "BASS_StreamCreateFile(mem=0, file="<path>", ..." calls
// in `calls`: the sounds opened, in order.
inline std::vector<std::string> OpenedFiles(const std::vector<std::string>& calls) {
  std::vector<std::string> paths;
  const std::string prefix = "BASS_StreamCreateFile(mem=0, file=\"";
  for (const std::string& call : calls) {
    if (call.compare(0, prefix.size(), prefix) == 0) {
      paths.push_back(call.substr(prefix.size(), call.find('"', prefix.size()) - prefix.size()));
    }
  }
  return paths;
}

class QuoblyProcess {
 public:
  QuoblyProcess() {
    const std::wstring from = ExecutableFolder();
    CopyFileW((from + L"Quobly.exe").c_str(), (m_folder.Path() + L"Quobly.exe").c_str(), FALSE);
    CopyFileW((from + L"bass.dll").c_str(), (m_folder.Path() + L"bass.dll").c_str(), FALSE);
  }
  ~QuoblyProcess() { Close(); }

  std::string Folder() const { return Narrow(m_folder.Path()); }
  std::string BindingFile() const { return Folder() + "音效配置.ini"; }  // a GBK literal, as in the program
  std::wstring TracePath() const { return m_folder.Path() + L"trace.txt"; }

  // Starts the program and waits for its main window.
  bool Start() {
    PROCESS_INFORMATION info = {};
    if (!Launch(&info)) return false;
    m_process.Reset(info.hProcess);
    m_processId = info.dwProcessId;
    if (!PumpUntil([this] { return (m_window = FindShownWindow(m_processId, L"Quobly")) != nullptr; }, 20000))
      return false;
    WaitForInputIdle(m_process.Get(), 5000);
    return true;
  }

  HWND MainWindow() const { return m_window; }
  DWORD UiThreadId() const { return GetWindowThreadProcessId(m_window, nullptr); }

  // Starts the program once more from the same folder, as a user's second
  // start would, and waits for that copy to end; its exit code, or -1 when
  // it did not end.
  int StartAgain() {
    PROCESS_INFORMATION info = {};
    if (!Launch(&info)) return -1;
    UniqueKernelHandle process(info.hProcess);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.Get(), TestTimeout(30000)) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.Get(), &exitCode);
    } else {
      TerminateProcess(process.Get(), 1);
    }
    return static_cast<int>(exitCode);
  }

  // Closes the main window and waits for the program to end; its exit code,
  // or -1 when it did not end.
  int Close() {
    if (!m_process) return -1;
    PostMessageW(m_window, WM_CLOSE, 0, 0);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(m_process.Get(), TestTimeout(20000)) == WAIT_OBJECT_0) {
      GetExitCodeProcess(m_process.Get(), &exitCode);
    } else {
      TerminateProcess(m_process.Get(), 1);
    }
    m_process.Reset();
    return static_cast<int>(exitCode);
  }

  // The traced calls in order, without their time stamps.
  std::vector<std::string> Calls() const { return TraceLines(false); }
  // The time stamps (performance counter milliseconds) of the calls.
  std::vector<std::string> TimedCalls() const { return TraceLines(true); }

 private:
  static std::string Narrow(const std::wstring& text) {
    char buffer[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
  }

  bool Launch(PROCESS_INFORMATION* info) {
    std::wstring commandLine = L"\"" + m_folder.Path() + L"Quobly.exe\"";
    SetEnvironmentVariableW(L"QUOBLY_BASS_TRACE", TracePath().c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    const BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        m_folder.Path().c_str(), &startup, info);
    SetEnvironmentVariableW(L"QUOBLY_BASS_TRACE", nullptr);
    if (started) CloseHandle(info->hThread);
    return started != FALSE;
  }

  std::vector<std::string> TraceLines(bool withTime) const {
    const std::string text = ReadFileBytes(TracePath());
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      const std::string line = text.substr(start, end - start);
      lines.push_back(withTime ? line : line.substr(line.find(' ') + 1));
    }
    return lines;
  }

  TempFolder m_folder;
  UniqueKernelHandle m_process;
  DWORD m_processId = 0;
  HWND m_window = nullptr;
};
