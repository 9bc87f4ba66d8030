#include "ExText.h"

#include "ExFramework.h"

Gdiplus::GpFont* ExText::Font() const {
  if (m_font) return m_font.Get();
  ExFramework* framework = ExFramework::Get();
  return framework != nullptr ? framework->DefaultFont() : nullptr;
}

void ExText::Draw(Gdiplus::GpGraphics* graphics, const ExRectF& rect, Gdiplus::ARGB outlineColour) const {
  ExDrawText(graphics, m_text, Font(), m_format.Handle(), rect, m_colour, outlineColour);
}
