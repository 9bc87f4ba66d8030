// The body of a sound button: a progress bar that fills as its sound plays
// and shows, small in its top right corner, the hotkeys that play the sound
// (its tag holds their names). The caption button laid over it keeps the whole face for
// the sound's name.
#pragma once

#include <string>
#include <vector>

#include "ExProgress.h"
#include "ExText.h"

class SoundPanel : public ExProgress {
 public:
  SoundPanel();

  // Shows the keys that play this sound (none: an empty corner): the tag
  // becomes their names joined by "、", and the corner is redrawn at once.
  void SetHotkeys(const std::vector<std::string>& keyNames);

 protected:
  void Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;

 private:
  ExText m_badge;
  bool m_badgeFontMade = false;
};
