// One category of sounds: the "*.mp3" files found in its folder at start,
// one sound button for each of the first 50 (only the first 20 are shown, in
// four rows of five on the category's tab page) and the progress watch that
// fills the playing button. Everything here belongs to the UI thread except
// the watch's worker (ProgressWatch.h).
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ExCaptionButton.h"
#include "ExTab.h"
#include "ProgressWatch.h"
#include "SoundLibrary.h"
#include "SoundPanel.h"

class SoundCategory {
 public:
  // Gets the caption element that was pressed.
  using ButtonHandler = std::function<void(ExHandle caption)>;

  SoundCategory() = default;
  SoundCategory(const SoundCategory&) = delete;
  SoundCategory& operator=(const SoundCategory&) = delete;

  // Lists the "*.mp3" files of `folder` (which ends in a backslash) in the
  // order the file system gives them, handling waiting input between
  // entries, then puts a button for each on tab page `page` of `tab`. A
  // missing folder leaves the page empty. Nothing is built when `window` went
  // away while input was handled.
  void Build(HWND window, ExTab& tab, int page, const std::string& folder, ButtonHandler onClick,
             ButtonHandler onRightPress);

  // Every file found, also those beyond the 50 slots.
  const std::vector<std::string>& Files() const { return m_files; }
  // The slot (1..50) whose caption is `caption`, 0 when none.
  int IndexOf(ExHandle caption) const;

  // Slot `index` (1..50); "" or 0 for an empty slot or one out of range.
  std::string Name(int index) const;
  std::string Path(int index) const;
  // The names of the keys that play slot `index`'s sound, joined by "、".
  std::string Hotkey(int index) const;
  // Shows on every slot the keys of `bound` that play its sound.
  void ShowHotkeys(const std::vector<BoundKey>& bound);
  int Progress(int index) const;
  void SetProgress(int index, int percent);

  ProgressWatch& Watch() { return m_watch; }

 private:
  struct SoundButton {
    SoundPanel panel;         // the body: progress and hotkey; tag = hotkey name
    ExCaptionButton caption;  // child of the panel: name; tag = full path
  };

  SoundButton* Slot(int index);
  const SoundButton* Slot(int index) const;
  void BuildButton(int index, HWND window, ExTab& tab, int page);

  std::vector<std::string> m_files;
  std::array<SoundButton, kButtonSlots> m_buttons;
  ButtonHandler m_onClick;
  ButtonHandler m_onRightPress;
  ProgressWatch m_watch;  // declared last: its worker is joined first
};
