// The low-level keyboard hook that lets hotkeys work while another program
// has the focus. It lives on a thread of its own: the system calls a
// low-level hook through the installing thread's message loop and holds
// every keystroke of every program until the procedure returns, then, past
// its time-out, removes the hook without notice. The UI thread may be busy
// (opening the audio device, scanning folders, laying out a slide step), so
// the hook thread only hands each key to the main window by a posted message
// and returns; it never swallows a key.
// Priorities: the hook thread runs raised for its whole life (it sleeps
// between keys), so keys leave every program at once on a busy machine. It
// also raises the window's thread before it posts a key, so that thread
// reaches the key's play call ahead of busy programs; the window's thread
// drops back to normal priority itself as soon as it has acted on the key
// (started or stopped the sound, or found the key unbound).
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

#include "Handles.h"

class KeyboardHook {
 public:
  KeyboardHook() = default;
  ~KeyboardHook() { remove_keyboard_hook(); }
  KeyboardHook(const KeyboardHook&) = delete;
  KeyboardHook& operator=(const KeyboardHook&) = delete;

  // Posts kMsgHotkeyPressed (wParam: virtual-key code) to `window` for every
  // key press in the system, auto-repeats included, each time raising the
  // window's thread first (see above). Returns once the hook is
  // in place (or has failed). Does nothing when this or another KeyboardHook
  // is installed already: the system offers a low-level hook procedure no
  // user data, so one hook serves the process.
  void install_keyboard_hook(HWND window);
  // Removes the hook and ends its thread; safe to call when nothing is
  // installed. Keys already posted may still arrive.
  void remove_keyboard_hook();
  bool installed() const { return m_thread.joinable(); }
  // The hook thread's id, 0 while no hook is installed.
  DWORD thread_id() const { return m_threadId; }

 private:
  // The hook thread: installs the hook, reports to `started`, and takes
  // messages (the system calls Procedure from inside GetMessage) until
  // WM_QUIT; the hook is removed on this thread before it ends.
  static void Run(HANDLE started, std::atomic<DWORD>* threadId);
  // Clears the target once no hook thread runs.
  void ForgetTarget();
  static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);

  // The window keys go to; nullptr while no hook is installed. Written by
  // install and remove on the UI thread, read by Procedure on the hook
  // thread.
  static std::atomic<HWND> s_target;
  // The thread of that window, which Procedure raises; owned by
  // m_targetThread of the installed object, which closes it only after the
  // hook thread has ended.
  static std::atomic<HANDLE> s_targetThread;

  UniqueKernelHandle m_targetThread;

  std::thread m_thread;  // joinable while this object's hook is installed
  std::atomic<DWORD> m_threadId{0};
};
