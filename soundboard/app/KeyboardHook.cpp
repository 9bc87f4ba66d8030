#include "KeyboardHook.h"

#include <cstring>

#include "AppMessages.h"
#include "AudioPriorityScope.h"

std::atomic<HWND> KeyboardHook::s_target{nullptr};
std::atomic<HANDLE> KeyboardHook::s_targetThread{nullptr};

void KeyboardHook::install_keyboard_hook(HWND window) {
  HWND none = nullptr;
  // Claimed before the hook exists, so the first event already finds its
  // window and a second KeyboardHook finds the place taken.
  if (window == nullptr || !s_target.compare_exchange_strong(none, window)) return;
  UniqueKernelHandle started(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!started) {
    s_target = nullptr;
    return;
  }
  // A thread of this process: the right to set its priority is granted.
  // Windows would take the limited right too; the full one suits Wine as
  // well. Without it the window's thread takes keys at its own priority.
  m_targetThread.Reset(OpenThread(THREAD_SET_INFORMATION, FALSE, GetWindowThreadProcessId(window, nullptr)));
  s_targetThread = m_targetThread.Get();
  m_threadId = 0;
  m_thread = std::thread(Run, started.Get(), &m_threadId);
  // The thread signals once its hook is set or has failed; until then it
  // uses the event, which this frame keeps alive by waiting.
  WaitForSingleObject(started.Get(), INFINITE);
  if (m_threadId == 0) {
    m_thread.join();
    ForgetTarget();
  }
}

void KeyboardHook::ForgetTarget() {
  s_targetThread = nullptr;
  m_targetThread.Reset();
  s_target = nullptr;
}

void KeyboardHook::remove_keyboard_hook() {
  if (!m_thread.joinable()) return;
  // The thread's queue exists before it reports its id, so the quit
  // message cannot be lost.
  PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
  m_thread.join();
  m_threadId = 0;
  ForgetTarget();
}

void KeyboardHook::Run(HANDLE started, std::atomic<DWORD>* threadId) {
  // Keys wait on this thread in every program: let it answer before the
  // ordinary work of a busy machine.
  const AudioPriorityScope raised;
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
  UniqueWindowsHook hook(SetWindowsHookExA(WH_KEYBOARD_LL, Procedure, GetModuleHandleA(nullptr), 0));
  if (hook) *threadId = GetCurrentThreadId();
  SetEvent(started);
  if (!hook) return;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
}

LRESULT CALLBACK KeyboardHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
  const HWND target = s_target;
  if (code == HC_ACTION && target != nullptr) {
    KBDLLHOOKSTRUCT event;
    std::memcpy(&event, reinterpret_cast<const void*>(lParam), sizeof event);
    // A press, not a release. The other flag bits (extended, injected, Alt
    // held) say nothing about that.
    if ((event.flags & LLKHF_UP) == 0) {
      if (const HANDLE thread = s_targetThread) SetThreadPriority(thread, AudioPriorityScope::kRaisedPriority);
      PostMessageW(target, kMsgHotkeyPressed, event.vkCode, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
