// Quobly.exe run as a real program from a program folder of its own (the
// program and bass.dll copied from beside the tests), with its calls into the
// audio library traced, and keys injected as hardware input from this
// process while a window of this process has the focus.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "BassTrace.h"
#include "ChildProcess.h"
#include "Handles.h"
#include "MessagePump.h"
#include "TestSupport.h"
#include "TextConversion.h"
#include "UserInput.h"
#include "audio/AudioMedia.h"

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

class QuoblyProcess {
 public:
  QuoblyProcess() {
    const std::wstring from = ExecutableFolder();
    CopyFileW((from + L"Quobly.exe").c_str(), (m_folder.Path() + L"Quobly.exe").c_str(), FALSE);
    CopyFileW((from + L"bass.dll").c_str(), (m_folder.Path() + L"bass.dll").c_str(), FALSE);
  }
  ~QuoblyProcess() { Close(); }

  std::string Folder() const { return Ansi(m_folder.Path()); }
  std::string BindingFile() const { return Folder() + "音效配置.ini"; }  // a GBK literal, as in the program
  std::wstring TracePath() const { return m_folder.Path() + L"trace.txt"; }

  // Starts the program and waits for its main window at rest: the show
  // animation, which takes no clicks, is over once the window is no longer
  // layered.
  bool Start() {
    if (!Launch(m_process)) return false;
    if (!PumpUntil([this] { return (m_window = FindShownWindow(m_process.Id(), L"Quobly")) != nullptr; }, 20000))
      return false;
    if (!PumpUntil([this] { return (GetWindowLongW(m_window, GWL_EXSTYLE) & WS_EX_LAYERED) == 0; }, 20000)) {
      return false;
    }
    WaitForInputIdle(m_process.Handle(), 5000);
    return true;
  }

  HWND MainWindow() const { return m_window; }
  DWORD UiThreadId() const { return GetWindowThreadProcessId(m_window, nullptr); }

  // Starts the program once more from the same folder, as a user's second
  // start would, and waits for that copy to end; its exit code, or -1 when
  // it did not end.
  int StartAgain() {
    ChildProcess second;
    if (!Launch(second)) return -1;
    if (second.WaitForExit(30000)) return static_cast<int>(second.ExitCode());
    second.Kill();
    return -1;
  }

  // Closes the main window and waits for the program to end; its exit code,
  // or -1 when it did not end.
  int Close() {
    if (!m_process.Started()) return -1;
    PostMessageW(m_window, WM_CLOSE, 0, 0);
    const int exitCode = m_process.WaitForExit(20000) ? static_cast<int>(m_process.ExitCode()) : -1;
    m_process.Kill();
    m_process = ChildProcess();
    return exitCode;
  }

  // The traced calls in order, without their time stamps.
  std::vector<std::string> Calls() const {
    std::vector<std::string> calls;
    for (TracedCall& traced : ParseTrace(ReadFileBytes(TracePath()))) calls.push_back(std::move(traced.call));
    return calls;
  }

 private:
  // The trace variable is set only while the program starts: it inherits it.
  bool Launch(ChildProcess& process) {
    SetEnvironmentVariableW(L"QUOBLY_BASS_TRACE", TracePath().c_str());
    const bool started = process.Start(m_folder.Path() + L"Quobly.exe", std::wstring(), m_folder.Path());
    SetEnvironmentVariableW(L"QUOBLY_BASS_TRACE", nullptr);
    return started;
  }

  TempFolder m_folder;
  ChildProcess m_process;
  HWND m_window = nullptr;
};
