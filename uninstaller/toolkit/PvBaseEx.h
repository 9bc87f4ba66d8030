// Image control with states (no caption); base of the check box. Unlike a
// button it draws a skin package's picture itself when there is one.
#pragma once

#include "ControlPicture.h"
#include "PvBase.h"
#include "PvButton.h"

class CPvBaseEx : public CPvBase {
 public:
  void Draw(HDC hdc, int x, int y) override;
  void Paint(HDC hdc) override;

  using PressHandler = void (*)(CPvBaseEx* control, void* context);

  int m_nState = 0;
  tagPvPicture m_picture;
  PressHandler m_pfnPress = nullptr;
  PvClickHandler m_pfnClick = nullptr;

 protected:
  // Draws the picture in the current state into (x, y, w, h).
  void DrawPicture(HDC hdc, int x, int y, int w, int h);
};
