// The low-level keyboard hook that lets hotkeys work while another program
// has the focus. Its procedure only notes the key and posts it to the main
// window, whose UI thread plays the sound; it never swallows a key.
#pragma once

#include <windows.h>

class KeyboardHook {
 public:
  KeyboardHook() = default;
  ~KeyboardHook() { remove_keyboard_hook(); }
  KeyboardHook(const KeyboardHook&) = delete;
  KeyboardHook& operator=(const KeyboardHook&) = delete;

  // Posts kMsgHotkeyPressed to `window` for every key press; does nothing
  // when a hook is installed already.
  void install_keyboard_hook(HWND window);
  void remove_keyboard_hook();
};
