// The soundboard application: the main window with its element tree, the
// sound library, the audio player, the hotkeys and the chrome. One object,
// created at program start before the framework starts, and destroyed after
// the message loop has ended while the framework still runs.
// Everything here runs on the UI thread; the components name their own
// workers, which only post messages (AppMessages.h) back to the window.
#pragma once

#include <windows.h>

#include <string>

#include "AudioPlayer.h"
#include "ExHost.h"
#include "ExLabel.h"
#include "ExTab.h"
#include "HotkeyPanel.h"
#include "KeyboardHook.h"
#include "SoundBoard.h"
#include "SoundCards.h"
#include "SoundLibrary.h"
#include "WindowChrome.h"

class QuoblyApp {
 public:
  QuoblyApp();
  ~QuoblyApp();
  QuoblyApp(const QuoblyApp&) = delete;
  QuoblyApp& operator=(const QuoblyApp&) = delete;

  // Loads the main window, runs its creation handler and the message loop
  // until the window is destroyed; the framework must be running. The exit
  // code.
  int Run();

 private:
  // The main window's creation handler, step by step in its fixed order.
  bool OnCreate(HWND window);
  void CreateTab(int width, int height);
  void CreateHelpLabel(int height);

  // Sees every message of the main window before the host does.
  LRESULT OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // A key message for the window's own elements. Space and bound keys are
  // hotkeys, which the hook handles: they must not also press the focused
  // element. The hotkey panel's key field takes every key, system keys too.
  LRESULT OnKeyMessage(UINT message, WPARAM wParam);
  // A key went down anywhere: space stops, a bound key plays its sound.
  void OnHotkey(UINT virtualKey);
  // The sound `virtualKey` plays, "" when none (space among them).
  std::string BoundSound(UINT virtualKey) const;
  // Shows on every button the keys that play it, read as the hook reads them.
  void ShowHotkeys();
  void OnDestroy();

  const std::string m_programFolder;  // without trailing backslash
  const std::string m_bindingFile;
  HWND m_window = nullptr;
  // Declared before the elements and workers that use it, so it outlives them.
  AudioPlayer m_player;
  ExHost m_host;
  ExTab m_tab;
  ExLabel m_help;
  SoundCards m_soundCards;
  HotkeyPanel m_hotkeyPanel;
  KeyboardHook m_keyboardHook;
  WindowChrome m_chrome;
  SoundBoard m_board;
  bool m_keyFilter = false;  // on from the end of start-up
};
