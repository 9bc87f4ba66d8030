// Double buffer of a skinned window: a memory DC with its own 32-bit bitmap,
// put on screen in one step by BitBlt or, for a layered window,
// UpdateLayeredWindow.
#pragma once

#include <windows.h>

#include "Handles.h"

class CPvDC {
 public:
  // An empty buffer: no DC, nothing to release.
  CPvDC() = default;
  CPvDC(HDC target, const RECT& rect, bool drawOnRelease, bool layered, HWND wnd);
  ~CPvDC();
  CPvDC(const CPvDC&) = delete;
  CPvDC& operator=(const CPvDC&) = delete;

  // (Re)creates the buffer over `rect` (target coordinates) on a 32-bit DIB
  // section, whatever the screen's depth: the buffers feed layered windows,
  // which take per-pixel alpha, and a buffer compatible with a 16- or 24-bit
  // screen (remote desktop, some virtual machines) has none. A layered
  // buffer is put on screen by UpdateLayeredWindow. Whatever the buffer held
  // before is dropped first.
  void CreateMemDC(HDC target, const RECT& rect, bool drawOnRelease, bool layered, HWND wnd);

  // Puts the picture on screen and clears draw-on-release.
  void Draw();

  // A 32-bit DIB section of the rectangle's size, bottom-up unless asked
  // top-down (its first row first in memory). The caller deletes it.
  static HBITMAP CreateCompatibleBitmapEx(const RECT& rect, bool topDown = false);

  // Buffers of a window made or put on screen off the window's thread since
  // the program started (an assertion in debug builds): GDI objects are used
  // by one thread at a time, and the window's thread paints.
  static int OffThreadUses();

  HDC GetDC() const { return m_memDC.Get(); }
  HBITMAP GetBitmap() const { return m_bitmap.Get(); }
  operator HDC() const { return m_memDC.Get(); }
  int Width() const { return m_right - m_left; }
  int Height() const { return m_bottom - m_top; }

 private:
  void Release();
  void CheckThread() const;

  UniqueMemoryDc m_memDC;
  HDC m_hTargetDC = nullptr;  // borrowed from the caller
  int m_left = 0;
  int m_top = 0;
  int m_right = 0;
  int m_bottom = 0;
  UniqueBitmap m_bitmap;  // selected into m_memDC while both live
  HGDIOBJ m_hPrevBitmap = nullptr;
  bool m_bDrawOnRelease = false;
  bool m_bLayered = false;
  HWND m_hWnd = nullptr;
};
