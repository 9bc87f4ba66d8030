// ExStringFormat: the settings text controls draw with (flags, alignment,
// line alignment, trimming, hotkey prefix) and the GDI+ string format made
// from them. Elements are often built before GDI+ starts, so the format is
// made on first use and owned by the object.
#pragma once

#include "Handles.h"

class ExStringFormat {
 public:
  // Controls start from no wrapping and no hotkey prefix.
  static constexpr int kControlFlags = 4096;  // StringFormatFlagsNoWrap
  // A word-wrapping label: no font fallback, trailing spaces measured, whole
  // lines only, no clipping.
  static constexpr int kWordWrapFlags = 1024 | 2048 | 8192 | 16384;

  explicit ExStringFormat(int flags = kControlFlags) : m_flags(flags) {}

  // Starts over from `flags` with every other setting at its default.
  void Reset(int flags);
  void SetAlignment(Gdiplus::StringAlignment alignment);
  void SetLineAlignment(Gdiplus::StringAlignment alignment);
  void SetTrimming(Gdiplus::StringTrimming trimming);
  void SetHotkeyPrefix(Gdiplus::HotkeyPrefix prefix);
  void SetFlags(int flags);
  // Owned by this object; nullptr when GDI+ refuses to make it. GDI+ must
  // be running.
  Gdiplus::GpStringFormat* Handle() const;

 private:
  // Applies the settings to the format once it exists.
  void Apply() const;

  int m_flags;
  Gdiplus::StringAlignment m_alignment = Gdiplus::StringAlignmentNear;
  Gdiplus::StringAlignment m_lineAlignment = Gdiplus::StringAlignmentNear;
  Gdiplus::StringTrimming m_trimming = Gdiplus::StringTrimmingCharacter;
  Gdiplus::HotkeyPrefix m_hotkeyPrefix = Gdiplus::HotkeyPrefixNone;
  mutable UniqueGpStringFormat m_format;
};
