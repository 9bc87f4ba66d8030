#include "ExPaint.h"

#include <algorithm>

#include "ExFramework.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

UniqueGpBrush ExSolidBrush(ARGB colour) {
  UniqueGpBrush brush;
  GpSolidFill* fill = nullptr;
  if (GdipCreateSolidFill(colour, &fill) == Ok) brush.Reset(fill);
  return brush;
}

void ExFillPolygon(GpGraphics* graphics, ARGB colour, const PointF* points, int count) {
  const UniqueGpBrush brush = ExSolidBrush(colour);
  if (brush) GdipFillPolygon(graphics, brush.Get(), points, count, FillModeAlternate);
}

UniqueGpPath ExRoundedPath(const ExRectF& rect, float radius) {
  UniqueGpPath path;
  if (GdipCreatePath(FillModeAlternate, path.Put()) != Ok) return path;
  const float diameter = std::min({2 * radius, rect.width, rect.height});
  if (diameter <= 0) {
    GdipAddPathRectangle(path.Get(), rect.x, rect.y, rect.width, rect.height);
    return path;
  }
  const float right = rect.x + rect.width - diameter;
  const float bottom = rect.y + rect.height - diameter;
  GdipAddPathArc(path.Get(), rect.x, rect.y, diameter, diameter, 180, 90);
  GdipAddPathArc(path.Get(), right, rect.y, diameter, diameter, 270, 90);
  GdipAddPathArc(path.Get(), right, bottom, diameter, diameter, 0, 90);
  GdipAddPathArc(path.Get(), rect.x, bottom, diameter, diameter, 90, 90);
  GdipClosePathFigure(path.Get());
  return path;
}

void ExFillPath(GpGraphics* graphics, GpPath* path, ARGB colour) {
  if ((colour >> 24) == 0 || path == nullptr) return;
  UniqueGpBrush brush = ExSolidBrush(colour);
  if (brush) GdipFillPath(graphics, brush.Get(), path);
}

void ExFillRect(GpGraphics* graphics, const ExRectF& rect, ARGB colour) {
  if ((colour >> 24) == 0) return;
  UniqueGpBrush brush = ExSolidBrush(colour);
  if (brush) GdipFillRectangle(graphics, brush.Get(), rect.x, rect.y, rect.width, rect.height);
}

void ExFillGradient(GpGraphics* graphics, const ExRectF& rect, GpPath* path, ARGB from, ARGB to, bool vertical) {
  if (rect.width <= 0 || rect.height <= 0) return;
  // One pixel more along the run: GDI+ would otherwise wrap the first colour
  // into the last row.
  const GpRectF area{rect.x, rect.y, rect.width + (vertical ? 0 : 1), rect.height + (vertical ? 1 : 0)};
  GpLineGradient* gradient = nullptr;
  if (GdipCreateLineBrushFromRect(&area, from, to, vertical ? LinearGradientModeVertical : LinearGradientModeHorizontal,
                                  WrapModeTileFlipXY, &gradient) != Ok) {
    return;
  }
  UniqueGpBrush brush(gradient);
  if (path != nullptr) {
    GdipFillPath(graphics, brush.Get(), path);
  } else {
    GdipFillRectangle(graphics, brush.Get(), rect.x, rect.y, rect.width, rect.height);
  }
}

void ExStrokePath(GpGraphics* graphics, GpPath* path, ARGB colour, float width) {
  if ((colour >> 24) == 0 || path == nullptr) return;
  UniqueGpPen pen;
  if (GdipCreatePen1(colour, width, UnitPixel, pen.Put()) == Ok) GdipDrawPath(graphics, pen.Get(), path);
}

void ExFrame(GpGraphics* graphics, const ExRectF& bounds, float radius, ARGB colour) {
  if (radius > 0) {
    ExStrokePath(graphics,
                 ExRoundedPath({bounds.x + 0.5f, bounds.y + 0.5f, bounds.width - 1, bounds.height - 1}, radius).Get(),
                 colour);
    return;
  }
  // Square frames are filled, not stroked: pens place one-pixel lines on
  // pixel edges differently from one GDI+ to another.
  ExFillRect(graphics, {bounds.x, bounds.y, bounds.width, 1}, colour);
  ExFillRect(graphics, {bounds.x, bounds.y + bounds.height - 1, bounds.width, 1}, colour);
  ExFillRect(graphics, {bounds.x, bounds.y + 1, 1, bounds.height - 2}, colour);
  ExFillRect(graphics, {bounds.x + bounds.width - 1, bounds.y + 1, 1, bounds.height - 2}, colour);
}

void ExDrawStretched(GpGraphics* graphics, GpBitmap* bitmap, const ExRectF& place) {
  UINT width = 0;
  UINT height = 0;
  GdipGetImageWidth(bitmap, &width);
  GdipGetImageHeight(bitmap, &height);
  UniqueGpImageAttributes edges;
  if (width == 0 || height == 0 || GdipCreateImageAttributes(edges.Put()) != Ok) return;
  GdipSetImageAttributesWrapMode(edges.Get(), WrapModeTileFlipXY, 0, FALSE);
  GdipSetInterpolationMode(graphics, InterpolationModeHighQualityBilinear);
  GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
  GdipDrawImageRectRect(graphics, bitmap, place.x, place.y, place.width, place.height, 0, 0, static_cast<REAL>(width),
                        static_cast<REAL>(height), UnitPixel, edges.Get(), nullptr, nullptr);
  GdipSetPixelOffsetMode(graphics, PixelOffsetModeDefault);
}

UniqueGpFont ExCreateFont(const ExFontSpec& fontSpec) {
  ExFramework* framework = ExFramework::Get();
  if (fontSpec.IsDefault() || framework == nullptr) return UniqueGpFont();
  const std::wstring face = fontSpec.family.empty() ? framework->DefaultFace() : AnsiToWide(fontSpec.family);
  const float size = fontSpec.size > 0 ? fontSpec.size : 12.0f;
  const int style = fontSpec.style >= 0 ? fontSpec.style : FontStyleRegular;
  return framework->Fonts().MakeFont(face, size, style);
}

void ExDrawText(GpGraphics* graphics, const std::wstring& text, GpFont* font, GpStringFormat* format,
                const ExRectF& rect, ARGB colour, ARGB outlineColour) {
  if (text.empty() || font == nullptr) return;
  const auto draw = [&](ARGB ink, float dx, float dy) {
    UniqueGpBrush brush = ExSolidBrush(ink);
    const RectF layout{rect.x + dx, rect.y + dy, rect.width, rect.height};
    if (brush)
      GdipDrawString(graphics, text.c_str(), static_cast<INT>(text.size()), font, &layout, format, brush.Get());
  };
  if ((outlineColour >> 24) != 0) {
    // The text drawn around itself: at small sizes this stays as crisp as the
    // text, where a stroked glyph path would not.
    static constexpr float kRing[][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    for (const auto& offset : kRing) draw(outlineColour, offset[0], offset[1]);
  }
  draw(colour, 0, 0);
}
