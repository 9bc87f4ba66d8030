// Text label. Labels let the mouse through: the caption band stays draggable
// over them.
#pragma once

#include <string>

#include "PvBase.h"

class CPvText : public CPvBase {
 public:
  CPvText();

  void SetText(const wchar_t* text, int x, int y, int width, int height, bool centred);
  // `face` null is the default face; the font comes from the font cache.
  void SetFont(int size, COLORREF colour, const wchar_t* face, bool bold, bool underline, bool italic);

  void Draw(HDC hdc, int x, int y) override;
  void Paint(HDC hdc) override;

  std::wstring m_strText;
  int m_nCaptionY = 0;
  bool m_bCentred = false;
};
