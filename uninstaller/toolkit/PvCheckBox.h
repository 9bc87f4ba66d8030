// Check box with a label at its right. States: 0 unchecked, 1 unchecked with
// hover, 2 checked with hover, 3 checked.
#pragma once

#include <string>

#include "PvBaseEx.h"

class CPvCheckBox : public CPvBaseEx {
 public:
  CPvCheckBox();

  void Draw(HDC hdc, int x, int y) override;
  bool OnMouse(int x, int y, int action, void* context) override;

  bool m_bPressed = false;
  std::wstring m_strLabel;
  bool m_bChecked = false;
  int m_nLabelY = 0;

 private:
  void SetState(int state);
};
