// Small GDI+ drawing helpers shared by the edit box, combo box, list, menu
// and scroll bar: solid fills and the one-pixel frame of a control.
#pragma once

#include "Handles.h"

UniqueGpBrush ExSolidBrush(Gdiplus::ARGB colour);
void ExFillRect(Gdiplus::GpGraphics* graphics, Gdiplus::ARGB colour, float x, float y, float width, float height);
void ExFillPolygon(Gdiplus::GpGraphics* graphics, Gdiplus::ARGB colour, const Gdiplus::PointF* points, int count);
// A one-pixel frame just inside a control of the given size.
void ExDrawFrame(Gdiplus::GpGraphics* graphics, Gdiplus::ARGB colour, float width, float height);
