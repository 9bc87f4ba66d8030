#include "ExStringFormat.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

ExStringFormat::ExStringFormat(int flags) {
  Create(flags);
}

bool ExStringFormat::Create(int flags) {
  if (GdipCreateStringFormat(flags, LANG_NEUTRAL, m_format.Put()) != Ok) return false;
  SetHotkeyPrefix(HotkeyPrefixNone);
  return true;
}

void ExStringFormat::SetAlignment(StringAlignment alignment) {
  if (m_format) GdipSetStringFormatAlign(m_format.Get(), alignment);
}

void ExStringFormat::SetLineAlignment(StringAlignment alignment) {
  if (m_format) GdipSetStringFormatLineAlign(m_format.Get(), alignment);
}

void ExStringFormat::SetTrimming(StringTrimming trimming) {
  if (m_format) GdipSetStringFormatTrimming(m_format.Get(), trimming);
}

void ExStringFormat::SetHotkeyPrefix(HotkeyPrefix prefix) {
  if (m_format) GdipSetStringFormatHotkeyPrefix(m_format.Get(), prefix);
}

void ExStringFormat::SetFlags(int flags) {
  if (m_format) GdipSetStringFormatFlags(m_format.Get(), flags);
}
