// Screenshots for the tests that look at the programs' windows: a part of
// the screen copied into memory, read pixel by pixel and saved as PNG for a
// person to look at.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Handles.h"

class ScreenShot {
 public:
  // Copies `area` (screen coordinates) of what the screen shows now.
  explicit ScreenShot(const RECT& area) : m_width(area.right - area.left), m_height(area.bottom - area.top) {
    m_pixels.resize(static_cast<size_t>(m_width) * m_height);
    WindowDc screen(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    if (!bitmap || !memory) return;
    HGDIOBJ old = SelectObject(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, m_width, m_height, screen.Get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    m_pixels.assign(source, source + m_pixels.size());
    SelectObject(memory.Get(), old);
  }

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // 0x00RRGGBB at (x, y); black outside the picture.
  uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return m_pixels[static_cast<size_t>(y) * m_width + x] & 0xFFFFFF;
  }
  static int Red(uint32_t pixel) { return (pixel >> 16) & 0xFF; }
  static int Green(uint32_t pixel) { return (pixel >> 8) & 0xFF; }
  static int Blue(uint32_t pixel) { return pixel & 0xFF; }

  // How many pixels of the area pass `test`.
  template <typename Test>
  int Count(int left, int top, int right, int bottom, Test test) const {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) count += test(At(x, y)) ? 1 : 0;
    }
    return count;
  }

  // The pixels of the area, for comparing two moments.
  std::vector<uint32_t> Area(int left, int top, int right, int bottom) const {
    std::vector<uint32_t> area;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) area.push_back(At(x, y));
    }
    return area;
  }

  // Saves the shot as a PNG file; GDI+ must be started.
  bool SavePng(const std::wstring& path) const {
    Gdiplus::Bitmap picture(m_width, m_height, m_width * 4, PixelFormat32bppRGB,
                            reinterpret_cast<BYTE*>(const_cast<uint32_t*>(m_pixels.data())));
    CLSID png = {};
    if (CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png) != S_OK) return false;
    return picture.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
  }

 private:
  int m_width;
  int m_height;
  std::vector<uint32_t> m_pixels;
};
