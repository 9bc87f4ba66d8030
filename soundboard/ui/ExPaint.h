// Drawing helpers the element classes share: rounded paths, solid and
// gradient fills, outlines, fonts and text. Every object they create is
// released before they return, except what they hand back in a UniqueHandle.
#pragma once

#include <string>

#include "ExGeometry.h"
#include "Handles.h"

// A solid brush to keep; empty when GDI+ refuses.
UniqueGpBrush ExSolidBrush(Gdiplus::ARGB colour);
void ExFillPolygon(Gdiplus::GpGraphics* graphics, Gdiplus::ARGB colour, const Gdiplus::PointF* points, int count);

// A rectangle with corners of `radius`; a plain rectangle for radius 0.
UniqueGpPath ExRoundedPath(const ExRectF& rect, float radius);

void ExFillPath(Gdiplus::GpGraphics* graphics, Gdiplus::GpPath* path, Gdiplus::ARGB colour);
void ExFillRect(Gdiplus::GpGraphics* graphics, const ExRectF& rect, Gdiplus::ARGB colour);
// A linear gradient over `rect` (top to bottom or left to right) filling
// `path`, or the rectangle itself when there is no path.
void ExFillGradient(Gdiplus::GpGraphics* graphics, const ExRectF& rect, Gdiplus::GpPath* path, Gdiplus::ARGB from,
                    Gdiplus::ARGB to, bool vertical);
void ExStrokePath(Gdiplus::GpGraphics* graphics, Gdiplus::GpPath* path, Gdiplus::ARGB colour, float width = 1.0f);
// A one-pixel frame just inside `bounds` (whole pixels), with corners of
// `radius` or square.
void ExFrame(Gdiplus::GpGraphics* graphics, const ExRectF& bounds, float radius, Gdiplus::ARGB colour);

// Draws `bitmap` scaled over `place`, with its edge pixels repeated outward
// so that a stretched picture keeps crisp, opaque borders.
void ExDrawStretched(Gdiplus::GpGraphics* graphics, Gdiplus::GpBitmap* bitmap, const ExRectF& place);

// A font from the given face, pixel size and style; unset values (empty
// face, size 0, style -1) come from the framework's default font. Empty
// when nothing was asked for, so the caller uses the default font itself.
struct ExFontSpec {
  std::string family;  // ANSI
  float size = 0;
  int style = -1;  // Gdiplus::FontStyle
  bool IsDefault() const { return family.empty() && size <= 0 && style < 0; }
};
UniqueGpFont ExCreateFont(const ExFontSpec& fontSpec);

// Text with an optional one-pixel outline in `outlineColour`; outline
// alpha 0 draws plain text.
void ExDrawText(Gdiplus::GpGraphics* graphics, const std::wstring& text, Gdiplus::GpFont* font,
                Gdiplus::GpStringFormat* format, const ExRectF& rect, Gdiplus::ARGB colour,
                Gdiplus::ARGB outlineColour = 0);
