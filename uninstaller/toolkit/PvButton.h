// Image button with a centred caption. States: 0 normal, 1 hover, 2 pressed,
// 3 released after a click (kept until the mouse moves again).
#pragma once

#include <string>

#include "ControlPicture.h"
#include "PvBase.h"

using PvClickHandler = void (*)(void* context);

class CPvButton : public CPvBase {
 public:
  enum State { kNormal = 0, kHover = 1, kPressed = 2, kReleased = 3 };

  explicit CPvButton(const tagPvControlOptions& options = tagPvControlOptions());
  // A button of the uninstaller's button row: 68 × 29 at (x, 148), three
  // frames with 8-pixel sides.
  CPvButton(const wchar_t* caption, int x, const tagPvControlOptions& options = tagPvControlOptions());

  // Resets the button to the embedded picture 60001 and the given place and
  // look; a non-empty `imagePath` makes that file the picture. Handlers and
  // the caption x offset are cleared.
  void Init(const wchar_t* caption, int x, int y, int width, int height, int horizontalEdge, int frames, HWND host,
            const wchar_t* imagePath);

  void Draw(HDC hdc, int x, int y) override;
  void Paint(HDC hdc) override;
  bool OnMouse(int x, int y, int action, void* context) override;

  bool m_bPressed = false;
  int m_nState = kNormal;
  int m_nVerticalEdge = 2;
  int m_nCaptionX = 0;
  int m_nCaptionY = 0;
  std::wstring m_strCaption;
  tagPvPicture m_picture;
  PvClickHandler m_pfnPress = nullptr;
  PvClickHandler m_pfnClick = nullptr;

 private:
  void SetState(int state);
};

// Caption offset that keeps text centred in either default font.
int DefaultCaptionOffset();
