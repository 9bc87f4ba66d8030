#include "PvText.h"

#include "PvButton.h"
#include "PvFont.h"
#include "PvImage.h"

namespace {

tagPvControlOptions LabelOptions() {
  tagPvControlOptions options;
  options.passThrough = true;
  return options;
}

}  // namespace

CPvText::CPvText() : CPvBase(LabelOptions()), m_nCaptionY(DefaultCaptionOffset()) {}

void CPvText::SetText(const wchar_t* text, int x, int y, int width, int height, bool centred) {
  m_strText = text != nullptr ? text : L"";
  SetRect(x, y, width, height);
  m_bCentred = centred;
}

void CPvText::SetFont(int size, COLORREF colour, const wchar_t* face, bool bold, bool underline, bool italic) {
  m_hFont = CPvFont::Instance().GetFont(size, face, bold, underline, italic);
  m_textColor = colour;
}

void CPvText::Draw(HDC hdc, int x, int y) {
  if (hdc == nullptr || m_strText.empty()) return;
  CPvImage::Instance().DrawString(hdc, m_hFont, m_strText.c_str(), x, y + m_nCaptionY, m_width, m_height, m_textColor,
                                  254, m_bCentred, true);
}

void CPvText::Paint(HDC hdc) {
  if (IsInsideHost()) Draw(hdc, m_x - m_offsetX, m_y - m_offsetY);
}
