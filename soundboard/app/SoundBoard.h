// The sound library on screen: the three categories, their sound buttons on
// the tab pages, the play handler and the progress watches that fill the
// playing button.
//
// Ownership: the board owns the categories, their elements and their
// progress watches; it runs on the UI thread. Each watch's worker reads only
// the player (which the owner keeps alive longer than the board) and posts
// kMsgProgress, which the window hands to OnProgress. Every play or stop
// stops and joins all watches and sets their buttons back to 0 before it
// returns (a play right after its play call), so at most one watch runs and
// no stale progress stays on any button.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "AudioPlayer.h"
#include "ExTab.h"
#include "SoundCategory.h"
#include "SoundLibrary.h"

class SoundBoard {
 public:
  static constexpr int kCategoryCount = 3;

  // A right press on sound button `index` (1..50) of `category` (1..3).
  using RightPressHandler = std::function<void(int category, int index)>;

  // `player` must outlive the board.
  explicit SoundBoard(AudioPlayer& player);
  // Stops and joins every progress watch.
  ~SoundBoard();
  SoundBoard(const SoundBoard&) = delete;
  SoundBoard& operator=(const SoundBoard&) = delete;

  // `onPlay` runs at every button click once the sound has started (it
  // closes the hotkey panel); `onRightPress` opens the panel for a button.
  void SetHandlers(std::function<void()> onPlay, RightPressHandler onRightPress);

  // Scans category `category`'s folder beside the program and puts its
  // buttons on tab page `category`; once per category.
  void BuildCategory(int category, HWND window, ExTab& tab, const std::string& programFolder);

  // Free, init, open, full volume, play: used by hotkeys.
  void PlayPath(const std::string& path);
  void Stop();

  // The caption text and path of a button, and the names of the keys that
  // play it, joined by "、" ("" out of range).
  std::string SoundName(int category, int index) const;
  std::string SoundPath(int category, int index) const;
  std::string Hotkey(int category, int index) const;
  // Shows on every button the keys of `bound` that play its sound.
  void ShowHotkeys(const std::vector<BoundKey>& bound);
  // The progress a button shows, 0..100 (0 out of range).
  int Progress(int category, int index) const;

  // kMsgProgress from a progress watch; ignored unless it comes from the
  // watch that drives that button now.
  void OnProgress(WPARAM which, LPARAM value);

 private:
  // The button play handler of `category`.
  void OnClick(int category, ExHandle caption);
  void OnRightPress(int category, ExHandle caption);
  // Stops every watch and sets the button it drove back to 0.
  void EndWatches();
  SoundCategory* Category(int category) const;

  AudioPlayer& m_player;
  HWND m_window = nullptr;
  std::function<void()> m_onPlay;
  RightPressHandler m_onRightPress;
  // Made when built, after the framework has started.
  std::array<std::unique_ptr<SoundCategory>, kCategoryCount> m_categories;
};
