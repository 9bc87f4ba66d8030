#include "ExLabel.h"

#include "ExFramework.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

ExHandle ExLabel::Create(const ExParent& parent, const ExRectF& rect, const std::string& text,
                         const ExLabelOptions& options) {
  Destroy();
  m_options = options;
  m_text.SetText(AnsiToWide(text));
  m_text.SetColour(options.textColour);
  m_text.SetFont(options.font);
  m_text.Format().Reset(options.wordWrap ? ExStringFormat::kWordWrapFlags : ExStringFormat::kControlFlags);
  m_text.Format().SetAlignment(options.alignment);
  m_text.Format().SetLineAlignment(options.lineAlignment);
  if (!options.wordWrap) m_text.Format().SetTrimming(StringTrimmingEllipsisCharacter);
  ExElementStyle style;
  style.typeCode = kExTypeLabel;
  style.visible = options.visible;
  style.interactive = false;
  return ExElement::Create(parent, rect, style);
}

std::string ExLabel::Text() const {
  return WideToAnsi(m_text.Text());
}

void ExLabel::SetText(const std::string& text) {
  SetWideText(AnsiToWide(text));
}

void ExLabel::SetWideText(std::wstring text) {
  m_text.SetText(std::move(text));
  Repaint();
}

void ExLabel::SetTextColour(ARGB colour) {
  m_text.SetColour(colour);
  Repaint();
}

void ExLabel::Paint(GpGraphics* graphics, const ExRectF& area) {
  if (m_options.backgroundFrom) {
    ExFillGradient(graphics, area, nullptr, *m_options.backgroundFrom,
                   m_options.backgroundTo.value_or(*m_options.backgroundFrom), m_options.verticalGradient);
  }
  if (m_options.border) ExFrame(graphics, area, 0, *m_options.border);
  m_text.Draw(graphics, {2, 2, area.width - 4, area.height - 4}, m_options.outline);
  if (HasFocus()) ExFrame(graphics, area, 2, m_text.Colour());
}
