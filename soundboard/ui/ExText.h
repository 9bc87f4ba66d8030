// ExText: what a text control draws its text with: the text (UTF-16), its
// colour, an own font or the framework's default, and a string format.
#pragma once

#include <string>

#include "ExPaint.h"
#include "ExStringFormat.h"

class ExText {
 public:
  explicit ExText(Gdiplus::ARGB colour) : m_colour(colour) {}

  const std::wstring& Text() const { return m_text; }
  void SetText(std::wstring text) { m_text = std::move(text); }
  Gdiplus::ARGB Colour() const { return m_colour; }
  void SetColour(Gdiplus::ARGB colour) { m_colour = colour; }
  // An unset font description goes back to the framework's default font.
  void SetFont(const ExFontSpec& fontSpec) { m_font = ExCreateFont(fontSpec); }
  // Owned by this object or by the framework; valid until the next SetFont.
  Gdiplus::GpFont* Font() const;
  ExStringFormat& Format() { return m_format; }

  void Draw(Gdiplus::GpGraphics* graphics, const ExRectF& rect, Gdiplus::ARGB outlineColour = 0) const;

 private:
  std::wstring m_text;
  Gdiplus::ARGB m_colour;
  UniqueGpFont m_font;  // empty: the default font
  ExStringFormat m_format;
};
