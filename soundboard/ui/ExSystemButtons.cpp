#include "ExSystemButtons.h"

#include <windowsx.h>

#include "ExControlLogic.h"
#include "ExFramework.h"
#include "ExStyleFlags.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

enum SpriteColumn { kCloseGlyph = 0, kMaximiseGlyph = 1, kRestoreGlyph = 2, kMinimiseGlyph = 3 };

}  // namespace

ExHandle ExSystemButtons::Create(HWND window, const ExRectF& rect, unsigned styleFlags) {
  Destroy();
  m_buttons.clear();
  if (styleFlags & kExMinimiseButton) m_buttons.push_back(Button::kMinimise);
  if (styleFlags & kExMaximiseButton) m_buttons.push_back(Button::kMaximise);
  if (styleFlags & kExCloseButton) m_buttons.push_back(Button::kClose);
  m_hovered = m_pressed = -1;
  ExElementStyle style;
  style.typeCode = kExTypeSkippedByTab;
  return ExElement::Create(window, rect, style);
}

int ExSystemButtons::CellUnder(LPARAM windowPoint) const {
  const double x = GET_X_LPARAM(windowPoint) - Left();
  const double y = GET_Y_LPARAM(windowPoint) - Top();
  if (x < 0 || y < 0 || y >= Height()) return -1;
  const int cell = static_cast<int>(x / kExCaptionCellWidth);
  return cell < ButtonCount() ? cell : -1;
}

void ExSystemButtons::SetLook(int hovered, int pressed) {
  if (hovered == m_hovered && pressed == m_pressed) return;
  m_hovered = hovered;
  m_pressed = pressed;
  Repaint();
}

LRESULT ExSystemButtons::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      SetLook(CellUnder(lParam), m_pressed);
      break;
    case EXM_MOUSELEAVE:
      SetLook(-1, m_pressed);
      break;
    case WM_LBUTTONDOWN:
      SetLook(CellUnder(lParam), CellUnder(lParam));
      break;
    case WM_LBUTTONUP:
      SetLook(m_hovered, -1);
      break;
    case EXM_CLICK: {
      // Keyboard clicks carry no point: they are not meant for a caption button.
      const int cell = lParam != 0 ? CellUnder(lParam) : -1;
      if (cell < 0) break;
      HWND window = Window();
      WPARAM command = SC_CLOSE;
      if (m_buttons[cell] == Button::kMaximise) command = IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE;
      if (m_buttons[cell] == Button::kMinimise) command = SC_MINIMIZE;
      PostMessageW(window, WM_SYSCOMMAND, command, 0);
      break;
    }
    default:
      break;
  }
  return ExControl::ClassProc(message, wParam, lParam);
}

void ExSystemButtons::Paint(GpGraphics* graphics, const ExRectF&) {
  GpBitmap* sprite = ExFramework::Get()->CaptionSprite();
  if (sprite == nullptr) return;
  for (int cell = 0; cell < ButtonCount(); ++cell) {
    int column = kCloseGlyph;
    if (m_buttons[cell] == Button::kMaximise) column = IsZoomed(Window()) ? kRestoreGlyph : kMaximiseGlyph;
    if (m_buttons[cell] == Button::kMinimise) column = kMinimiseGlyph;
    const int row = cell == m_pressed ? 2 : cell == m_hovered ? 1 : 0;
    GdipDrawImageRectRectI(graphics, sprite, cell * kExCaptionCellWidth, 0, kExCaptionCellWidth, kExCaptionCellHeight,
                           column * kExCaptionCellWidth, row * kExCaptionCellHeight, kExCaptionCellWidth,
                           kExCaptionCellHeight, UnitPixel, nullptr, nullptr, nullptr);
  }
}
