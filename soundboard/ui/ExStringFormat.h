// ExStringFormat: a GDI+ string format with the settings text controls use
// (alignment, line alignment, trimming, hotkey prefix, flags). The wrapped
// format is owned by the object.
#pragma once

#include "Handles.h"

class ExStringFormat {
 public:
  // Controls start from no wrapping and no hotkey prefix.
  static constexpr int kControlFlags = 4096;  // StringFormatFlagsNoWrap
  // A word-wrapping label: no font fallback, trailing spaces measured, whole
  // lines only, no clipping.
  static constexpr int kWordWrapFlags = 1024 | 2048 | 8192 | 16384;

  explicit ExStringFormat(int flags = kControlFlags);

  // Creates the format anew with `flags`; false when GDI+ refuses.
  bool Create(int flags);
  void SetAlignment(Gdiplus::StringAlignment alignment);
  void SetLineAlignment(Gdiplus::StringAlignment alignment);
  void SetTrimming(Gdiplus::StringTrimming trimming);
  void SetHotkeyPrefix(Gdiplus::HotkeyPrefix prefix);
  void SetFlags(int flags);
  // Owned by this object; nullptr when creation failed.
  Gdiplus::GpStringFormat* Handle() const { return m_format.Get(); }

 private:
  UniqueGpStringFormat m_format;
};
