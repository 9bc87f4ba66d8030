#include "ExGeometry.h"

#include <algorithm>
#include <cmath>

#include "ExStyleFlags.h"

bool CoordinateChanged(float stored, double wanted) {
  return std::fabs(wanted - stored) > kMoveTolerance;
}

bool RectContains(const ExRectF& rect, double x, double y) {
  return x - rect.x >= -kMoveTolerance && y - rect.y >= -kMoveTolerance && x < rect.x + rect.width &&
         y < rect.y + rect.height;
}

ExPixelRect PixelBounds(const ExRectF& rect) {
  return {static_cast<int>(std::floor(rect.x)), static_cast<int>(std::floor(rect.y)),
          static_cast<int>(std::ceil(rect.x + rect.width)), static_cast<int>(std::ceil(rect.y + rect.height))};
}

ExPixelRect Intersect(const ExPixelRect& a, const ExPixelRect& b) {
  ExPixelRect result{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
  return result.IsEmpty() ? ExPixelRect{} : result;
}

ExPixelRect Union(const ExPixelRect& a, const ExPixelRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool Intersects(const ExPixelRect& a, const ExPixelRect& b) {
  return !Intersect(a, b).IsEmpty();
}

ExDamage DamageOfMove(const ExPixelRect& before, const ExPixelRect& after) {
  ExDamage damage;
  const ExPixelRect merged = Union(before, after);
  if (merged.IsEmpty()) return damage;
  const long long separate = before.Area() + after.Area() - Intersect(before, after).Area();
  if (before.IsEmpty() || after.IsEmpty() || merged.Area() <= separate) {
    damage.areas[0] = merged;
    damage.count = 1;
  } else {
    damage.areas[0] = before;
    damage.areas[1] = after;
    damage.count = 2;
  }
  return damage;
}

ExEdge EdgeAt(int x, int y, int width, int height) {
  const bool offRight = x <= width - 10;
  const bool offBottom = y <= height - 10;
  if (y > 7 && offBottom) {
    if (x <= 7) return ExEdge::kLeft;
    return offRight ? ExEdge::kNone : ExEdge::kRight;
  }
  if (y > 7) {
    if (x <= 9) return ExEdge::kBottomLeft;
    return offRight ? ExEdge::kBottom : ExEdge::kBottomRight;
  }
  if (x <= 9) return ExEdge::kTopLeft;
  return offRight ? ExEdge::kTop : ExEdge::kTopRight;
}

ExPixelRect MaximisedPlacement(const ExPixelRect& workArea) {
  return {workArea.left - 7, workArea.top - 7, workArea.right + 7, workArea.bottom + 7};
}

ExSize MinimumTrackSize(unsigned styleFlags) {
  if ((styleFlags & kExCaptionFlags) == 0) return {21, 20};
  int buttons = 0;
  for (unsigned flag : {kExCloseButton, kExMaximiseButton, kExMinimiseButton}) {
    if (styleFlags & flag) ++buttons;
  }
  const int closeMargin = (styleFlags & kExCloseButton) ? 11 : 0;
  return {28 * buttons + closeMargin + 35 + 1, 38};
}
