// Owning wrappers for Win32 handles, shared by every module of both programs.
// Each wrapper closes its handle exactly once, on reset or destruction, so no
// early return can leak one. Add a traits struct here for each new handle kind.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <objidl.h>  // GDI+ needs COM types that WIN32_LEAN_AND_MEAN leaves out
#include <gdiplus.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>
#include "WinInetApi.h"

#include <type_traits>
#include <utility>

#include "GdiplusSession.h"

// Traits may name a NoteTaken() that runs whenever a wrapper takes a new
// handle, to check the moment it was made in.
template <typename Traits, typename = void>
struct HasTakenNote : std::false_type {};
template <typename Traits>
struct HasTakenNote<Traits, std::void_t<decltype(Traits::NoteTaken())>> : std::true_type {};

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {
    if (handle != Traits::Invalid()) NoteTaken();
  }
  ~UniqueHandle() { Reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Replace(other.Release());
    return *this;
  }

  Handle Get() const noexcept { return m_handle; }
  explicit operator bool() const noexcept { return m_handle != Traits::Invalid(); }

  // Gives up ownership; the caller now closes the handle.
  Handle Release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

  void Reset(Handle handle = Traits::Invalid()) noexcept {
    if (handle != Traits::Invalid()) NoteTaken();
    Replace(handle);
  }

  // For out-parameters of creating functions: closes what is held first.
  Handle* Put() noexcept {
    Replace(Traits::Invalid());
    NoteTaken();
    return &m_handle;
  }

 private:
  void Replace(Handle handle) noexcept {
    Handle old = std::exchange(m_handle, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  static void NoteTaken() noexcept {
    if constexpr (HasTakenNote<Traits>::value) Traits::NoteTaken();
  }

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

// Loaded libraries (LoadLibrary): each reference is given back once.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { ::FindClose(handle); }
};

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::InternetCloseHandle(handle); }
};

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::FreeLibrary(handle); }
};

struct AcmStreamTraits {
  using Handle = HACMSTREAM;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::acmStreamClose(handle, 0); }
};

// The owner unprepares its buffers before the handle closes; resetting first
// gives back any still queued, so the close cannot fail as still playing.
struct WaveOutTraits {
  using Handle = HWAVEOUT;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) {
    ::waveOutReset(handle);
    ::waveOutClose(handle);
  }
};

struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::DestroyWindow(handle); }
};

// Icons made by LoadImage without LR_SHARED, CreateIconIndirect and friends.
struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::DestroyIcon(handle); }
};

struct WindowsHookTraits {
  using Handle = HHOOK;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::UnhookWindowsHookEx(handle); }
};

// Registrations with the multimedia class scheduler service
// (AvSetMmThreadCharacteristics), reverted on the thread that made them.
// Whoever registers has loaded avrt.dll and keeps it loaded meanwhile.
struct MmcssTaskTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) {
    using Revert = BOOL(WINAPI*)(HANDLE);
    const HMODULE avrt = ::GetModuleHandleW(L"avrt.dll");
    const auto revert = avrt ? reinterpret_cast<Revert>(
                                   reinterpret_cast<void*>(::GetProcAddress(avrt, "AvRevertMmThreadCharacteristics")))
                             : nullptr;
    if (revert) revert(handle);
  }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueAcmStream = UniqueHandle<AcmStreamTraits>;
using UniqueWaveOut = UniqueHandle<WaveOutTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueInternetHandle = UniqueHandle<InternetHandleTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueWindowsHook = UniqueHandle<WindowsHookTraits>;
using UniqueMmcssTask = UniqueHandle<MmcssTaskTraits>;

// Memory DCs from CreateCompatibleDC.
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::DeleteDC(handle); }
};

// Pens, brushes, bitmaps, fonts and regions: whatever DeleteObject frees.
template <typename GdiHandle>
struct GdiTraits {
  using Handle = GdiHandle;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::DeleteObject(handle); }
};

// Movable global memory blocks (GlobalAlloc), as streams are built on.
struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::GlobalFree(handle); }
};

// Blocks the system hands out for the caller to free with LocalFree
// (security descriptors from SDDL text, formatted messages).
struct LocalMemoryTraits {
  using Handle = HLOCAL;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::LocalFree(handle); }
};

// Blocks the shell hands out for the caller to free with CoTaskMemFree
// (known-folder paths).
struct TaskMemoryTraits {
  using Handle = void*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::CoTaskMemFree(handle); }
};

using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueLocal = UniqueHandle<LocalMemoryTraits>;
using UniqueTaskMemory = UniqueHandle<TaskMemoryTraits>;
using UniqueGdiObject = UniqueHandle<GdiTraits<HGDIOBJ>>;
using UniqueBitmap = UniqueHandle<GdiTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<GdiTraits<HFONT>>;
using UniqueGlobal = UniqueHandle<GlobalMemoryTraits>;
using UniqueRegion = UniqueHandle<GdiTraits<HRGN>>;

// Pages from VirtualAlloc, released whole.
struct VirtualMemoryTraits {
  using Handle = void*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { ::VirtualFree(handle, 0, MEM_RELEASE); }
};

using UniqueVirtualMemory = UniqueHandle<VirtualMemoryTraits>;

// GDI+ flat-API objects, each with its own delete function. Each one taken
// is checked to be made while GDI+ runs (GdiplusSession.h).
template <typename GpObject, Gdiplus::GpStatus(WINGDIPAPI* Delete)(GpObject*)>
struct GdipObjectTraits {
  using Handle = GpObject*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { Delete(handle); }
  static void NoteTaken() { GdiplusSession::NoteObject(); }
};

// Bitmaps are images to GDI+; disposing goes through the image base type.
struct GdipBitmapTraits {
  using Handle = Gdiplus::GpBitmap*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { Gdiplus::DllExports::GdipDisposeImage(handle); }
  static void NoteTaken() { GdiplusSession::NoteObject(); }
};

using UniqueGpBitmap = UniqueHandle<GdipBitmapTraits>;
using UniqueGpGraphics = UniqueHandle<GdipObjectTraits<Gdiplus::GpGraphics, Gdiplus::DllExports::GdipDeleteGraphics>>;
using UniqueGpImageAttributes =
    UniqueHandle<GdipObjectTraits<Gdiplus::GpImageAttributes, Gdiplus::DllExports::GdipDisposeImageAttributes>>;
using UniqueGpFont = UniqueHandle<GdipObjectTraits<Gdiplus::GpFont, Gdiplus::DllExports::GdipDeleteFont>>;
using UniqueGpFontFamily =
    UniqueHandle<GdipObjectTraits<Gdiplus::GpFontFamily, Gdiplus::DllExports::GdipDeleteFontFamily>>;
using UniqueGpPen = UniqueHandle<GdipObjectTraits<Gdiplus::GpPen, Gdiplus::DllExports::GdipDeletePen>>;
using UniqueGpRegion = UniqueHandle<GdipObjectTraits<Gdiplus::GpRegion, Gdiplus::DllExports::GdipDeleteRegion>>;
using UniqueGpPath = UniqueHandle<GdipObjectTraits<Gdiplus::GpPath, Gdiplus::DllExports::GdipDeletePath>>;
using UniqueGpStringFormat =
    UniqueHandle<GdipObjectTraits<Gdiplus::GpStringFormat, Gdiplus::DllExports::GdipDeleteStringFormat>>;
// Any brush (solid, gradient): the creating calls hand out derived types,
// so they are created into a local and given over with Reset.
using UniqueGpBrush = UniqueHandle<GdipObjectTraits<Gdiplus::GpBrush, Gdiplus::DllExports::GdipDeleteBrush>>;

// A DC from GetDC, given back to its window with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND wnd) : m_wnd(wnd), m_dc(::GetDC(wnd)) {}
  ~WindowDc() {
    if (m_dc != nullptr) ::ReleaseDC(m_wnd, m_dc);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HWND m_wnd;
  HDC m_dc;
};

// A COM interface pointer released once (IStream and friends).
template <typename Interface>
struct ComTraits {
  using Handle = Interface*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { handle->Release(); }
};
template <typename Interface>
using UniqueCom = UniqueHandle<ComTraits<Interface>>;
