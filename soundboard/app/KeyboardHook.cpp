#include "KeyboardHook.h"

void KeyboardHook::install_keyboard_hook(HWND) {}

void KeyboardHook::remove_keyboard_hook() {}
