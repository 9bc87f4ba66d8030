// The sound library on screen: the three categories, their sound buttons on
// the tab pages, the play handler and the progress watches that fill the
// playing button.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "AudioPlayer.h"
#include "ExTab.h"
#include "SoundLibrary.h"

class SoundBoard {
 public:
  // A right press on sound button `index` (1..50) of `category` (1..3).
  using RightPressHandler = std::function<void(int category, int index)>;

  // `player` must outlive the board.
  explicit SoundBoard(AudioPlayer& player);
  ~SoundBoard();
  SoundBoard(const SoundBoard&) = delete;
  SoundBoard& operator=(const SoundBoard&) = delete;

  // `onPlay` runs at every button click before the sound starts (it closes
  // the hotkey panel); `onRightPress` opens the panel for a button.
  void SetHandlers(std::function<void()> onPlay, RightPressHandler onRightPress);

  // Scans category `category`'s folder beside the program and puts its
  // buttons on tab page `category`.
  void BuildCategory(int category, HWND window, ExTab& tab, const std::string& programFolder, const Bindings& bindings);

  // Free, init, open, full volume, play: used by hotkeys.
  void PlayPath(const std::string& path);
  void Stop();

  // The caption text, path and hotkey name of a button ("" out of range).
  std::string SoundName(int category, int index) const;
  std::string SoundPath(int category, int index) const;
  std::string Hotkey(int category, int index) const;
  // Shows a new binding on its button.
  void SetHotkey(int category, int index, const std::string& keyName);

  // kMsgProgress from a progress watch.
  void OnProgress(WPARAM which, LPARAM percent);

 private:
  AudioPlayer& m_player;
  HWND m_window = nullptr;
};
