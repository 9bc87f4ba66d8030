// Private messages of the soundboard's main window. Workers and the keyboard
// hook never touch elements: they post one of these and the UI thread acts.
#pragma once

#include <windows.h>

// The keyboard hook saw a key go down. wParam: virtual-key code.
constexpr UINT kMsgHotkeyPressed = WM_APP + 1;
// A progress watch read its sound's position. wParam: category (1..3) in the
// high word, button (1..50) in the low word; lParam: percent 0..100 in the
// low word, the watch's serial number in the high word.
constexpr UINT kMsgProgress = WM_APP + 2;
// The sound-card enumeration has finished. lParam: the address of the result,
// which SoundCards keeps until it arrives (and frees when it never does).
constexpr UINT kMsgSoundCardsFound = WM_APP + 3;
// One step of the hotkey panel's slide. wParam: the new window width.
constexpr UINT kMsgPanelSlide = WM_APP + 4;
// The notification-area icon's callback; lParam carries the mouse message.
constexpr UINT kMsgTrayIcon = 32868;
