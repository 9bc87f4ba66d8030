// The sound-card combo box at the bottom left: a worker lists the system's
// wave-out devices once at start, and a selection sets the card the next
// play opens. The choice is stored by the card's name in the binding file
// and taken up again at the next start; until the user picks a card, plays
// go to the system's default output, and so they do while the stored card
// is missing, which the combo's text then says.
//
// Threads: the worker only reads the system's device names, stores its result
// here under m_foundLock and posts kMsgSoundCardsFound; everything else runs on
// the UI thread. The destructor joins the worker, so it never outlives this
// object.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AudioPlayer.h"
#include "ExCombo.h"
#include "ExImageLoader.h"
#include "SoundCardList.h"

class SoundCards {
 public:
  // `player` must outlive this object; `settingsFile` is the binding file
  // that keeps the choice.
  SoundCards(AudioPlayer& player, std::string settingsFile);
  ~SoundCards();
  SoundCards(const SoundCards&) = delete;
  SoundCards& operator=(const SoundCards&) = delete;

  // Loads the combo's drop-button picture, releasing an earlier one.
  void LoadDropButton();
  // Creates the combo box for a window `height` pixels high.
  void Create(HWND window, int height);
  // Lists the devices on a worker thread; the result arrives as
  // kMsgSoundCardsFound. Once only: later calls do nothing.
  void StartEnumeration();
  // kMsgSoundCardsFound: fills the combo from the result `result` names.
  void OnFound(LPARAM result);

  ExCombo& Combo() { return m_combo; }
  // The cards listed so far (empty until the worker's result has arrived).
  const std::vector<SoundCard>& Cards() const { return m_cards; }

 private:
  using CardList = std::vector<SoundCard>;

  void OnSelectionChanged(int index);

  AudioPlayer& m_player;
  const std::string m_settingsFile;
  std::string m_chosenName;  // "" for the default output
  HWND m_window = nullptr;
  ExResourceBytes m_dropButton;  // module data: lives as long as the program
  ExCombo m_combo;
  CardList m_cards;

  // The worker's result until the UI thread takes it; freed here when the
  // message never arrives (the window went first).
  std::mutex m_foundLock;
  std::unique_ptr<CardList> m_found;
  std::thread m_worker;
};
