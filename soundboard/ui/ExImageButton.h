// ExImageButton: a button whose background is cut from an image strip, frames
// side by side: frame 0 normal, 1 hover, 2 pressed. Frame k is the piece of
// cut width x cut height at (k x frame step, 0), stretched over the button.
#pragma once

#include "ExButton.h"

class ExImageButton : public ExButton {
 public:
  // Decodes the strip (PNG or other image bytes) and cuts its frames; with
  // `hideText` the button draws no text (its tooltip names it). False, with
  // no frames, when the bytes do not decode.
  bool SetImageStrip(const void* bytes, size_t size, int frameStep, int cutWidth, int cutHeight, bool hideText);

 protected:
  void DrawBackground(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;
  bool ShowsText() const override { return !m_hideText; }

 private:
  static constexpr int kFrames = 3;
  UniqueGpBitmap m_frames[kFrames];
  bool m_hideText = false;
};
