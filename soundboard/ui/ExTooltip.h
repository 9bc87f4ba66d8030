// The system tooltip window of a host: one tool at a time, over the hovered
// element's rectangle, with the element's tip text. The host creates it at
// attach and destroys it at teardown; the element tree decides what it shows.
// UI thread only.
#pragma once

#include <string>

#include "ExGeometry.h"
#include "Handles.h"

class ExTooltip {
 public:
  // A host works without tips: false only says there are none.
  bool Create(HWND host);
  void Reset();
  HWND Window() const { return m_window.Get(); }

  // Shows `text` over `place` (window pixels); empty text shows no tip.
  void Show(const ExPixelRect& place, const std::string& text);
  void Hide();

 private:
  HWND m_host = nullptr;
  UniqueWindow m_window;
};
