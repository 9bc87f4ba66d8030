#include "PvBaseEx.h"

void CPvBaseEx::DrawPicture(HDC hdc, int x, int y, int w, int h) {
  DrawControlPicture(hdc, m_picture, m_nImageSource, m_nStateCount, &m_nState, x, y, w, h, 0, PackagePicture::kDraw);
}

void CPvBaseEx::Draw(HDC hdc, int x, int y) {
  if (!m_bVisible || hdc == nullptr) return;
  DrawPicture(hdc, x, y, m_width, m_height);
}

void CPvBaseEx::Paint(HDC hdc) {
  if (IsInsideHost()) Draw(hdc, m_x - m_offsetX, m_y - m_offsetY);
}
