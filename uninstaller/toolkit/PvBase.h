// Common base of the skinned windows and of the light controls they host.
// Controls are not child windows: a dialog keeps them in a list, hit-tests
// them and has them draw into its buffers.
#pragma once

#include <windows.h>

// How a control behaves, given by whoever makes it; the defaults suit a
// plain four-state control.
struct tagPvControlOptions {
  int stateCount = 4;        // distinct state pictures; clamps the state
  bool passThrough = false;  // the drag test looks through it
};

// The dialog that hosts a control, and the buffers it lends it.
struct tagPvHost {
  HWND window = nullptr;
  HDC background = nullptr;
  HDC composite = nullptr;
  bool layered = false;
};

class CPvBase {
 public:
  // Actions handed to OnMouse.
  enum MouseAction { kMouseDown = 0, kMouseUp = 1, kMouseMove = 4 };
  // Image source of a control that was given a picture file.
  static constexpr int kImageFromFile = 3;

  explicit CPvBase(const tagPvControlOptions& options = tagPvControlOptions());
  virtual ~CPvBase() = default;
  CPvBase(const CPvBase&) = delete;
  CPvBase& operator=(const CPvBase&) = delete;

  // Draws the control with its top-left corner at (x, y).
  virtual void Draw(HDC hdc, int x, int y);
  // Draws the control at its place in the host.
  virtual void Paint(HDC hdc) = 0;
  // Mouse input in host client coordinates; true when the control was hit.
  virtual bool OnMouse(int x, int y, int action, void* context);

  // Given by the hosting dialog when it takes the control in.
  void AttachTo(const tagPvHost& host);
  tagPvHost Host() const { return {m_hHostWnd, m_hBackgroundDC, m_hCompositeDC, m_bLayered}; }

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

  void SetVisible(bool visible) { m_bVisible = visible; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Whether the control keeps the drag test off the host point (x, y).
  bool HoldsPoint(int x, int y) const;
  // What the handlers are given; null lets the host give its own.
  void* Context() const { return m_pContext; }

 protected:
  void* m_pContext = nullptr;  // not owned
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
  const int m_nStateCount;
  const bool m_bPassThrough;
  HDC m_hBackgroundDC = nullptr;
  HDC m_hCompositeDC = nullptr;
  bool m_bLayered = false;
};
