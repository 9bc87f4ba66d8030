// The body of a sound button: a progress bar that fills as its sound plays
// and shows, small in its top right corner, the hotkey bound to the sound
// (its tag text). The caption button laid over it keeps the whole face for
// the sound's name.
#pragma once

#include <string>

#include "ExProgress.h"
#include "ExText.h"

class SoundPanel : public ExProgress {
 public:
  SoundPanel();
  ~SoundPanel() override { Destroy(); }

  // Sets the tag to the hotkey name and redraws the corner at once.
  void SetHotkey(const std::string& keyName);

 protected:
  void Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;

 private:
  ExText m_badge;
  bool m_badgeReady = false;
};
