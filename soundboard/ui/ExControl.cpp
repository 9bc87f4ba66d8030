#include "ExControl.h"

LRESULT ExControl::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      if (Gdiplus::GpGraphics* graphics = Graphics()) {
        Gdiplus::DllExports::GdipGraphicsClear(graphics, 0);
        Paint(graphics, {0, 0, Width(), Height()});
      }
      return 0;
    case EXM_SETFOCUS:
    case EXM_KILLFOCUS:
      if (OutlinesFocus()) Repaint();
      break;
    default:
      break;
  }
  return ExElement::ClassProc(message, wParam, lParam);
}
