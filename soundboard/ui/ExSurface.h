// A 32-bit premultiplied drawing surface that GDI and GDI+ share: a DIB
// section selected into a memory DC, and a GDI+ bitmap over the same pixels
// with its graphics. GDI copies (BitBlt, UpdateLayeredWindow) and GDI+ drawing
// therefore work on one set of pixels.
#pragma once

#include <cstdint>

#include "Handles.h"

class ExSurface {
 public:
  // Replaces any earlier surface by a transparent one; false (and an empty
  // surface) when GDI or GDI+ refuse.
  bool Create(int width, int height);
  void Reset();

  HDC Dc() const { return m_dc.Get(); }
  Gdiplus::GpGraphics* Graphics() const { return m_graphics.Get(); }
  Gdiplus::GpBitmap* Image() const { return m_image.Get(); }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool IsEmpty() const { return m_bits == nullptr; }

  // Premultiplied 0xAARRGGBB; rows run top to bottom. 0 outside the surface.
  std::uint32_t Pixel(int x, int y) const;
  std::uint32_t* Row(int y) const { return m_bits + static_cast<std::ptrdiff_t>(y) * m_width; }

 private:
  // Declared so that they are released in reverse: graphics, GDI+ bitmap, DC, DIB.
  UniqueBitmap m_dib;
  UniqueMemoryDc m_dc;
  UniqueGpBitmap m_image;
  UniqueGpGraphics m_graphics;
  std::uint32_t* m_bits = nullptr;
  int m_width = 0;
  int m_height = 0;
};
