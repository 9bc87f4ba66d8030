#include "ExPaintHelpers.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

UniqueGpBrush ExSolidBrush(ARGB colour) {
  UniqueGpBrush brush;
  GpSolidFill* fill = nullptr;
  if (GdipCreateSolidFill(colour, &fill) == Ok) brush.Reset(fill);
  return brush;
}

void ExFillRect(GpGraphics* graphics, ARGB colour, float x, float y, float width, float height) {
  const UniqueGpBrush brush = ExSolidBrush(colour);
  if (brush) GdipFillRectangle(graphics, brush.Get(), x, y, width, height);
}

void ExFillPolygon(GpGraphics* graphics, ARGB colour, const PointF* points, int count) {
  const UniqueGpBrush brush = ExSolidBrush(colour);
  if (brush) GdipFillPolygon(graphics, brush.Get(), points, count, FillModeAlternate);
}

void ExDrawFrame(GpGraphics* graphics, ARGB colour, float width, float height) {
  UniqueGpPen pen;
  if (GdipCreatePen1(colour, 1.0f, UnitPixel, pen.Put()) == Ok) {
    GdipDrawRectangle(graphics, pen.Get(), 0.5f, 0.5f, width - 1, height - 1);
  }
}
