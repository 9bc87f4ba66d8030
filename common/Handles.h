// Owning wrappers for Win32 handles, shared by every module of both programs.
// Each wrapper closes its handle exactly once, on reset or destruction, so no
// early return can leak one. Add a traits struct here for each new handle kind.
#pragma once

#include <windows.h>
#include <objidl.h>  // GDI+ needs COM types that WIN32_LEAN_AND_MEAN leaves out
#include <gdiplus.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const noexcept { return m_handle; }
  explicit operator bool() const noexcept { return m_handle != Traits::Invalid(); }

  // Gives up ownership; the caller now closes the handle.
  Handle Release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

  void Reset(Handle handle = Traits::Invalid()) noexcept {
    Handle old = std::exchange(m_handle, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

  // For out-parameters of creating functions: closes what is held first.
  Handle* Put() noexcept {
    Reset();
    return &m_handle;
  }

 private:
  Handle m_handle = Traits::Invalid();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::CloseHandle(handle); }
};

// CreateFile and friends report failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { ::CloseHandle(handle); }
};

struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::RegCloseKey(handle); }
};

// A memory DC from CreateCompatibleDC (not one from GetDC).
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::DeleteDC(handle); }
};

// Pens, brushes, bitmaps, fonts and regions alike.
template <typename GdiHandle>
struct GdiObjectTraits {
  using Handle = GdiHandle;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::DeleteObject(handle); }
};

struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::DestroyWindow(handle); }
};

// Pages from VirtualAlloc, released whole.
struct VirtualMemoryTraits {
  using Handle = void*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::VirtualFree(handle, 0, MEM_RELEASE); }
};

// GDI+ flat-API objects, each with its own delete function.
template <typename GpObject, Gdiplus::GpStatus(WINGDIPAPI* Delete)(GpObject*)>
struct GdipObjectTraits {
  using Handle = GpObject*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { Delete(handle); }
};

// Bitmaps are images to GDI+; disposing goes through the image base type.
struct GdipBitmapTraits {
  using Handle = Gdiplus::GpBitmap*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { Gdiplus::DllExports::GdipDisposeImage(handle); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueVirtualMemory = UniqueHandle<VirtualMemoryTraits>;
using UniqueGpBitmap = UniqueHandle<GdipBitmapTraits>;
using UniqueGpGraphics = UniqueHandle<GdipObjectTraits<Gdiplus::GpGraphics, Gdiplus::DllExports::GdipDeleteGraphics>>;
using UniqueGpImageAttributes =
    UniqueHandle<GdipObjectTraits<Gdiplus::GpImageAttributes, Gdiplus::DllExports::GdipDisposeImageAttributes>>;
using UniqueGpFont = UniqueHandle<GdipObjectTraits<Gdiplus::GpFont, Gdiplus::DllExports::GdipDeleteFont>>;
using UniqueGpFontFamily =
    UniqueHandle<GdipObjectTraits<Gdiplus::GpFontFamily, Gdiplus::DllExports::GdipDeleteFontFamily>>;
using UniqueGpPen = UniqueHandle<GdipObjectTraits<Gdiplus::GpPen, Gdiplus::DllExports::GdipDeletePen>>;
using UniqueGpRegion = UniqueHandle<GdipObjectTraits<Gdiplus::GpRegion, Gdiplus::DllExports::GdipDeleteRegion>>;
