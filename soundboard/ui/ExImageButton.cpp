#include "ExImageButton.h"

#include <algorithm>

#include "ExImageLoader.h"
#include "ExPaint.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

bool ExImageButton::SetImageStrip(const void* bytes, size_t size, int frameStep, int cutWidth, int cutHeight,
                                  bool hideText) {
  m_hideText = hideText;
  for (auto& frame : m_frames) frame.Reset();
  UniqueGpBitmap strip = ExDecodeImage(bytes, size);
  if (strip) {
    UINT width = 0;
    UINT height = 0;
    GdipGetImageWidth(strip.Get(), &width);
    GdipGetImageHeight(strip.Get(), &height);
    // Pieces that reach past the strip are cut short; pieces wholly outside it stay empty.
    for (int k = 0; k < kFrames; ++k) {
      const int x = k * std::max(0, frameStep);
      const int pieceWidth = std::min(cutWidth, static_cast<int>(width) - x);
      const int pieceHeight = std::min(cutHeight, static_cast<int>(height));
      if (pieceWidth <= 0 || pieceHeight <= 0) continue;
      GdipCloneBitmapAreaI(x, 0, pieceWidth, pieceHeight, PixelFormat32bppPARGB, strip.Get(), m_frames[k].Put());
    }
  }
  Repaint();
  return static_cast<bool>(strip);
}

void ExImageButton::DrawBackground(GpGraphics* graphics, const ExRectF& area) {
  int frame = 0;
  if (!Disabled() && State() == ExButtonState::kHover) frame = 1;
  if (!Disabled() && State() == ExButtonState::kPressed) frame = 2;
  GpBitmap* piece = m_frames[frame] ? m_frames[frame].Get() : m_frames[0].Get();
  if (piece == nullptr) return;
  ExDrawStretched(graphics, piece, area);
}
