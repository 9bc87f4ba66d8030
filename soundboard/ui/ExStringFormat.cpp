#include "ExStringFormat.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

void ExStringFormat::Reset(int flags) {
  *this = ExStringFormat(flags);
}

void ExStringFormat::SetAlignment(StringAlignment alignment) {
  m_alignment = alignment;
  Apply();
}

void ExStringFormat::SetLineAlignment(StringAlignment alignment) {
  m_lineAlignment = alignment;
  Apply();
}

void ExStringFormat::SetTrimming(StringTrimming trimming) {
  m_trimming = trimming;
  Apply();
}

void ExStringFormat::SetHotkeyPrefix(HotkeyPrefix prefix) {
  m_hotkeyPrefix = prefix;
  Apply();
}

void ExStringFormat::SetFlags(int flags) {
  m_flags = flags;
  Apply();
}

GpStringFormat* ExStringFormat::Handle() const {
  if (!m_format && GdipCreateStringFormat(m_flags, LANG_NEUTRAL, m_format.Put()) == Ok) Apply();
  return m_format.Get();
}

void ExStringFormat::Apply() const {
  if (!m_format) return;
  GdipSetStringFormatFlags(m_format.Get(), m_flags);
  GdipSetStringFormatAlign(m_format.Get(), m_alignment);
  GdipSetStringFormatLineAlign(m_format.Get(), m_lineAlignment);
  GdipSetStringFormatTrimming(m_format.Get(), m_trimming);
  GdipSetStringFormatHotkeyPrefix(m_format.Get(), m_hotkeyPrefix);
}
