// A 32-bit DIB to draw into and read back, and pictures made to order, for
// the toolkit's pixel tests.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <functional>

#include "Handles.h"
#include "MemoryStream.h"
#include "PvDC.h"
#include "PvImage.h"

class PixelCanvas {
 public:
  PixelCanvas(int width, int height, uint32_t fill = 0xFF000000)
      : m_width(width), m_height(height), m_dc(nullptr, RECT{0, 0, width, height}, false, true, nullptr) {
    DIBSECTION section = {};
    GetObjectW(m_dc.GetBitmap(), sizeof section, &section);
    m_bits = static_cast<uint32_t*>(section.dsBm.bmBits);
    for (int i = 0; i < width * height; ++i) m_bits[i] = fill;
  }

  HDC Dc() const { return m_dc; }

  // 0xAARRGGBB at (x, y), counted from the top.
  uint32_t At(int x, int y) const {
    GdiFlush();
    return m_bits[(m_height - 1 - y) * m_width + x];
  }

  // Whether any pixel of the area differs from `colour`.
  bool AnyOtherThan(uint32_t colour, int left, int top, int right, int bottom) const {
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        if ((At(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) return true;
      }
    }
    return false;
  }

 private:
  int m_width;
  int m_height;
  CPvDC m_dc;
  uint32_t* m_bits = nullptr;
};

// Colours equal within GDI+'s rounding.
inline bool SameColour(uint32_t a, uint32_t b, int tolerance = 3) {
  for (int shift = 0; shift < 32; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance) {
      return false;
    }
  }
  return true;
}

// A PNG in memory whose pixel (x, y) is colourAt(x, y) (0xAARRGGBB).
inline UniqueCom<IStream> MakePng(int width, int height, const std::function<uint32_t(int, int)>& colourAt) {
  Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(colourAt(x, y)));
  }
  UniqueCom<IStream> stream = CreateStreamOverCopy(nullptr, 0);
  CLSID png = {};
  CPvImage::Instance().GetEncoderClsid(L"image/png", &png);
  bitmap.Save(stream.Get(), &png, nullptr);
  return stream;
}
