// The sound-card combo box at the bottom left: a worker lists the system's
// wave-out devices once at start, and a selection sets the device the next
// play opens.
#pragma once

#include <windows.h>

#include "AudioPlayer.h"

class SoundCards {
 public:
  // `player` must outlive this object.
  explicit SoundCards(AudioPlayer& player);
  ~SoundCards();
  SoundCards(const SoundCards&) = delete;
  SoundCards& operator=(const SoundCards&) = delete;

  // Loads the combo's drop-button picture, releasing an earlier one.
  void LoadDropButton();
  // Creates the combo box for a window `height` pixels high.
  void Create(HWND window, int height);
  // Lists the devices on a worker thread; the result arrives as
  // kMsgSoundCardsFound.
  void StartEnumeration();
  void OnFound(LPARAM result);

 private:
  AudioPlayer& m_player;
  HWND m_window = nullptr;
};
