// Rectangle arithmetic of the framework: element rectangles, damaged areas,
// the resize zones along a host window's edges and the placement of a
// maximised host. No Windows headers, so it is tested directly.
#pragma once

// An element's place in window client coordinates; fractional values are kept
// as given so that repeated moves do not drift.
struct ExRectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
};

// Whole pixels, right and bottom exclusive.
struct ExPixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  long long Area() const { return IsEmpty() ? 0 : static_cast<long long>(Width()) * Height(); }
  bool operator==(const ExPixelRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

struct ExSize {
  int width = 0;
  int height = 0;
};

// Smaller coordinate changes are noise from float round trips and move nothing.
constexpr double kMoveTolerance = 1e-7;
bool CoordinateChanged(float stored, double wanted);

// Left and top edges belong to the rectangle (with the same tolerance), right
// and bottom do not.
bool RectContains(const ExRectF& rect, double x, double y);

// The smallest pixel rectangle that covers `rect`.
ExPixelRect PixelBounds(const ExRectF& rect);
ExPixelRect Intersect(const ExPixelRect& a, const ExPixelRect& b);
ExPixelRect Union(const ExPixelRect& a, const ExPixelRect& b);
bool Intersects(const ExPixelRect& a, const ExPixelRect& b);

// What a move or resize needs recomposed: the old and the new place, merged
// into one rectangle when that costs no more pixels than drawing both.
struct ExDamage {
  ExPixelRect areas[2];
  int count = 0;
};
ExDamage DamageOfMove(const ExPixelRect& before, const ExPixelRect& after);

// Resize zones; the values are the WMSZ_ codes that SC_SIZE takes.
enum class ExEdge { kNone = 0, kLeft, kRight, kTop, kTopLeft, kTopRight, kBottom, kBottomLeft, kBottomRight };

// The zone under the client point (x, y) of a window of the given size: the
// left and top zones are 8 pixels deep (0..7), the right and bottom zones the
// last 9 pixels, the corners a little wider along the top and bottom.
ExEdge EdgeAt(int x, int y, int width, int height);

// A maximised host hangs 7 pixels over every side of the work area, so its
// shadow margin and rounded corners lie off screen.
ExPixelRect MaximisedPlacement(const ExPixelRect& workArea);

// Smallest size the user may drag a host to: room for the caption buttons
// the style flags ask for, or a bare minimum when there are none.
ExSize MinimumTrackSize(unsigned styleFlags);
