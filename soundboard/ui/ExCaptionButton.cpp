#include "ExCaptionButton.h"

void ExCaptionButton::DrawBackground(Gdiplus::GpGraphics* graphics, const ExRectF& area) {
  constexpr Gdiplus::ARGB kHoverVeil = 0x1EFFFFFF;
  constexpr Gdiplus::ARGB kPressedVeil = 0x32000000;
  if (Disabled()) return;
  const Gdiplus::ARGB veil = State() == ExButtonState::kHover     ? kHoverVeil
                             : State() == ExButtonState::kPressed ? kPressedVeil
                                                                  : 0;
  if (veil == 0) return;
  UniqueGpPath shape = ExRoundedPath({1, 1, area.width - 2, area.height - 2}, 5);
  ExFillPath(graphics, shape.Get(), veil);
}
