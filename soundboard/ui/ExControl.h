// ExControl: the base of the framework's own element classes. It renders on
// WM_PAINT by clearing the element's bitmap and calling Paint, and repaints
// on focus changes for classes that outline the focused element.
#pragma once

#include "ExElement.h"

class ExControl : public ExElement {
 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Draws the element into its cleared bitmap; `area` is the whole bitmap.
  virtual void Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) = 0;
  virtual bool OutlinesFocus() const { return false; }
};
