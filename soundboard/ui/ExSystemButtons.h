// ExSystemButtons: the caption buttons a host draws for its style flags,
// right to left close, maximise (restore while maximised) and minimise, in
// cells of the framework's caption-button sprite. A click sends the window
// the matching system command.
#pragma once

#include <vector>

#include "ExControl.h"

class ExSystemButtons : public ExControl {
 public:
  enum class Button { kClose, kMaximise, kMinimise };

  // Lays out the buttons the style flags ask for at `rect` on `window`.
  ExHandle Create(HWND window, const ExRectF& rect, unsigned styleFlags);
  int ButtonCount() const { return static_cast<int>(m_buttons.size()); }

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;

 private:
  int CellUnder(LPARAM windowPoint) const;
  void SetLook(int hovered, int pressed);

  std::vector<Button> m_buttons;  // left to right
  int m_hovered = -1;
  int m_pressed = -1;
};
