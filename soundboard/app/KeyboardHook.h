// The low-level keyboard hook that lets hotkeys work while another program
// has the focus. Its procedure only notes the key and posts it to the main
// window, whose UI thread plays the sound; it never swallows a key.
#pragma once

#include <windows.h>

#include "Handles.h"

class KeyboardHook {
 public:
  KeyboardHook() = default;
  ~KeyboardHook() { remove_keyboard_hook(); }
  KeyboardHook(const KeyboardHook&) = delete;
  KeyboardHook& operator=(const KeyboardHook&) = delete;

  // Posts kMsgHotkeyPressed (wParam: virtual-key code) to `window` for every
  // key press in the system, auto-repeats included. Does nothing when this
  // or another KeyboardHook is installed already: the system offers a
  // low-level hook procedure no user data, so one hook serves the process.
  // The calling thread must run a message loop, which the system calls the
  // procedure through.
  void install_keyboard_hook(HWND window);
  // Safe to call when nothing is installed.
  void remove_keyboard_hook();
  bool installed() const { return static_cast<bool>(m_hook); }

 private:
  // Kept trivially short: the system silently removes a low-level hook
  // whose procedure overruns its time-out.
  static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);

  // The installed hook, read by Procedure. Written by install and remove;
  // the procedure runs on the installing thread, so there is no race.
  static KeyboardHook* s_installed;

  UniqueWindowsHook m_hook;
  HWND m_window = nullptr;
};
