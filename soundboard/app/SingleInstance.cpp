#include "SingleInstance.h"

namespace {

// "Local\": a copy for each signed-in user, one in each session.
constexpr wchar_t kMutexName[] = L"Local\\Quobly.Soundboard.{6b0c4f52-9d1e-4c0e-a3f7-2f1b8e5d7a41}";
constexpr wchar_t kShowMessageName[] = L"Quobly.ShowRunningWindow";
constexpr wchar_t kWindowClass[] = L"Ex_LayerUI";
constexpr wchar_t kWindowTitle[] = L"Quobly";
constexpr DWORD kRetryMs = 50;

}  // namespace

UINT SingleInstance::ShowRunningMessage() {
  static const UINT message = RegisterWindowMessageW(kShowMessageName);
  return message;
}

bool SingleInstance::Claim() {
  m_mutex.Reset(CreateMutexW(nullptr, FALSE, kMutexName));
  // Without a mutex there is no telling; running beats refusing to start.
  return !m_mutex || GetLastError() != ERROR_ALREADY_EXISTS;
}

bool SingleInstance::ShowRunning(DWORD waitMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND running = FindWindowW(kWindowClass, kWindowTitle)) {
      // This process was started by the user and may take the foreground;
      // it hands that right to the copy that shows itself.
      DWORD processId = 0;
      GetWindowThreadProcessId(running, &processId);
      AllowSetForegroundWindow(processId);
      return PostMessageW(running, ShowRunningMessage(), 0, 0) != FALSE;
    }
    if (GetTickCount() - start >= waitMs) return false;
    Sleep(kRetryMs);
  }
}
