#include "PvCheckBox.h"

#include "PvImage.h"

namespace {

constexpr int kCheckBoxImage = 60036;
constexpr int kBoxSize = 15;

}  // namespace

CPvCheckBox::CPvCheckBox() : m_nLabelY(DefaultCaptionOffset()) {
  m_picture.imageId = kCheckBoxImage;
  m_picture.stem = L"checkbox";
}

void CPvCheckBox::Draw(HDC hdc, int x, int y) {
  if (!m_bVisible || hdc == nullptr) return;
  DrawPicture(hdc, x, y + 2, kBoxSize, kBoxSize);
  if (!m_strLabel.empty()) {
    CPvImage::Instance().DrawString(hdc, m_hFont, m_strLabel.c_str(), x + 18, y + m_nLabelY, m_width - 20, m_height,
                                    m_textColor, 254, false, true);
  }
}

void CPvCheckBox::SetState(int state) {
  m_nState = state;
  Refresh(true);
}

bool CPvCheckBox::OnMouse(int x, int y, int action, void* context) {
  const bool hit = m_x <= x && x <= m_x + m_width && m_y <= y && y <= m_y + m_height;
  if (!hit) {
    if (action == kMouseUp) m_bPressed = false;
    if (m_nState != 0 && m_nState != 3) SetState(m_bChecked ? 3 : 0);
    return false;
  }
  if (action == kMouseDown) {
    m_bPressed = true;
    if (m_pfnPress != nullptr) m_pfnPress(this, context);
  } else if (action == kMouseUp) {
    if (m_bPressed) {
      m_bPressed = false;
      m_bChecked = !m_bChecked;
      SetState(m_bChecked ? 2 : 1);
      if (m_pfnClick != nullptr) m_pfnClick(context);
    }
  } else if (action == kMouseMove && m_nState != 1 && m_nState != 2) {
    SetState(m_bChecked ? 2 : 1);
  }
  return true;
}
