// GDI+ helpers of the edit box, combo box, list, menu and scroll bar beside
// those of ExPaint: a solid brush to keep, and filled glyph polygons.
#pragma once

#include "Handles.h"

UniqueGpBrush ExSolidBrush(Gdiplus::ARGB colour);
void ExFillPolygon(Gdiplus::GpGraphics* graphics, Gdiplus::ARGB colour, const Gdiplus::PointF* points, int count);
