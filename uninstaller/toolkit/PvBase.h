// Common base of the skinned windows and of the light controls they host.
// Controls are not child windows: a dialog keeps them in a list, hit-tests
// them and has them draw into its buffers.
#pragma once

#include <windows.h>

class CPvBase {
 public:
  // Actions handed to OnMouse.
  enum MouseAction { kMouseDown = 0, kMouseUp = 1, kMouseMove = 4 };
  // Image source of a control that was given a picture file.
  static constexpr int kImageFromFile = 3;

  CPvBase();
  virtual ~CPvBase() = default;
  CPvBase(const CPvBase&) = delete;
  CPvBase& operator=(const CPvBase&) = delete;

  // Draws the control with its top-left corner at (x, y).
  virtual void Draw(HDC hdc, int x, int y);
  // Draws the control at its place in the host.
  virtual void Paint(HDC hdc) = 0;
  // Mouse input in host client coordinates; true when the control was hit.
  virtual bool OnMouse(int x, int y, int action, void* context);

  void SetRect(int x, int y, int width, int height) {
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
  }

  // Redraws the control on screen at once, over the host's background, and
  // with `toComposite` also into the host's composed frame.
  void Refresh(bool toComposite);
  // Whether any of the control lies inside its host.
  bool IsInsideHost() const;
  // The window the control lives in: its host, else the main window.
  HWND HostWindow() const;

  // Settings, written by whoever builds the control.
  void* m_pContext = nullptr;  // handed to the handlers; not owned
  int m_x = 0;
  int m_y = 0;
  int m_width = 0;
  int m_height = 0;
  int m_offsetX = 0;  // subtracted from the position when hit-testing and painting
  int m_offsetY = 0;
  HFONT m_hFont = nullptr;  // owned by the font cache
  COLORREF m_textColor = 0;
  HWND m_hHostWnd = nullptr;
  bool m_bVisible = true;  // a hidden control neither draws nor blocks dragging
  int m_nImageSource = 0;
  int m_nStateCount = 4;        // distinct state pictures; clamps the state
  bool m_bPassThrough = false;  // the drag test looks through it
  // The host dialog's buffers, lent by AttachControls.
  HDC m_hBackgroundDC = nullptr;
  HDC m_hCompositeDC = nullptr;
  bool m_bLayered = false;
};
