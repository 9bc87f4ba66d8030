// ExCaptionButton: a button without a background of its own: only its text,
// and a faint veil while hovered or pressed. Laid over another element (a
// sound button's progress bar) it lets that element show through and still
// takes the clicks.
#pragma once

#include "ExButton.h"

class ExCaptionButton : public ExButton {
 public:
 protected:
  void DrawBackground(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;
};
