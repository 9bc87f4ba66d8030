#include "ExPaintHelpers.h"

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
