#include "PvDC.h"

#include <atomic>
#include <cassert>

#include "PvLayered.h"

namespace {

std::atomic<int> g_offThreadUses{0};

}  // namespace

CPvDC::CPvDC(HDC target, const RECT& rect, bool drawOnRelease, bool layered, HWND wnd) {
  CreateMemDC(target, rect, drawOnRelease, layered, wnd);
}

CPvDC::~CPvDC() {
  Release();
}

void CPvDC::CreateMemDC(HDC target, const RECT& rect, bool drawOnRelease, bool layered, HWND wnd) {
  m_bDrawOnRelease = false;  // a buffer that is replaced is not shown
  Release();
  m_hTargetDC = target;
  m_left = rect.left;
  m_top = rect.top;
  m_right = rect.right;
  m_bottom = rect.bottom;
  m_bDrawOnRelease = drawOnRelease;
  m_bLayered = layered;
  m_hWnd = wnd;
  CheckThread();
  m_memDC.Reset(CreateCompatibleDC(target));
  if (!m_memDC) return;
  m_bitmap.Reset(CreateCompatibleBitmapEx(rect));
  if (m_bitmap) m_hPrevBitmap = SelectObject(m_memDC.Get(), m_bitmap.Get());
}

HBITMAP CPvDC::CreateCompatibleBitmapEx(const RECT& rect, bool topDown) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = rect.right - rect.left;
  info.bmiHeader.biHeight = topDown ? rect.top - rect.bottom : rect.bottom - rect.top;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

void CPvDC::Draw() {
  m_bDrawOnRelease = false;
  if (!m_memDC) return;
  CheckThread();
  if (m_bLayered) {
    RECT windowRect = {};
    GetWindowRect(m_hWnd, &windowRect);
    CPvLayered::Update(m_hWnd, m_hTargetDC, windowRect, m_memDC.Get());
  } else {
    BitBlt(m_hTargetDC, m_left, m_top, Width(), Height(), m_memDC.Get(), 0, 0, SRCCOPY);
  }
}

void CPvDC::Release() {
  if (!m_memDC) return;
  if (m_bDrawOnRelease) Draw();
  // A bitmap still selected into a DC cannot be deleted.
  if (m_hPrevBitmap != nullptr) SelectObject(m_memDC.Get(), m_hPrevBitmap);
  m_hPrevBitmap = nullptr;
  m_bitmap.Reset();
  m_memDC.Reset();
}

void CPvDC::CheckThread() const {
  const DWORD owner = m_hWnd != nullptr ? GetWindowThreadProcessId(m_hWnd, nullptr) : 0;
  if (owner == 0 || owner == GetCurrentThreadId()) return;  // no window, or one that went
  ++g_offThreadUses;
  OutputDebugStringW(L"pvUninstall: a window's buffer used off the window's thread\n");
  assert(!"a window's buffer used off the window's thread");
}

int CPvDC::OffThreadUses() {
  return g_offThreadUses;
}
