#include "ExSurface.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

bool ExSurface::Create(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, so rows match GDI+'s scan order
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  m_dib.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  m_dc.Reset(CreateCompatibleDC(nullptr));
  if (!m_dib || !m_dc || bits == nullptr) {
    Reset();
    return false;
  }
  SelectObject(m_dc.Get(), m_dib.Get());
  if (GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits),
                                m_image.Put()) != Ok ||
      GdipGetImageGraphicsContext(m_image.Get(), m_graphics.Put()) != Ok) {
    Reset();
    return false;
  }
  GdipSetSmoothingMode(m_graphics.Get(), SmoothingModeAntiAlias);
  GdipSetTextRenderingHint(m_graphics.Get(), TextRenderingHintAntiAliasGridFit);
  // Element bitmaps are composed 1:1; nearest-neighbour with half-pixel
  // offset copies them exactly instead of blurring their edges.
  GdipSetInterpolationMode(m_graphics.Get(), InterpolationModeNearestNeighbor);
  GdipSetPixelOffsetMode(m_graphics.Get(), PixelOffsetModeHalf);
  m_bits = static_cast<std::uint32_t*>(bits);
  m_width = width;
  m_height = height;
  return true;
}

void ExSurface::Reset() {
  m_graphics.Reset();
  m_image.Reset();
  m_dc.Reset();
  m_dib.Reset();
  m_bits = nullptr;
  m_width = 0;
  m_height = 0;
}

std::uint32_t ExSurface::Pixel(int x, int y) const {
  if (m_bits == nullptr || x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  GdiFlush();
  return Row(y)[x];
}
