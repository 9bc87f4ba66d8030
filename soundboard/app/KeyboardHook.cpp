#include "KeyboardHook.h"

#include <cstring>

#include "AppMessages.h"

KeyboardHook* KeyboardHook::s_installed = nullptr;

void KeyboardHook::install_keyboard_hook(HWND window) {
  if (s_installed != nullptr) return;
  // Set before the hook exists, so the first event already finds its window.
  m_window = window;
  s_installed = this;
  m_hook.Reset(SetWindowsHookExA(WH_KEYBOARD_LL, Procedure, GetModuleHandleA(nullptr), 0));
  if (!m_hook) s_installed = nullptr;
}

void KeyboardHook::remove_keyboard_hook() {
  if (s_installed != this) return;
  m_hook.Reset();
  s_installed = nullptr;
}

LRESULT CALLBACK KeyboardHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && s_installed != nullptr) {
    KBDLLHOOKSTRUCT event;
    std::memcpy(&event, reinterpret_cast<const void*>(lParam), sizeof event);
    // A press, not a release. The other flag bits (extended, injected, Alt
    // held) say nothing about that.
    if ((event.flags & LLKHF_UP) == 0) PostMessageW(s_installed->m_window, kMsgHotkeyPressed, event.vkCode, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
