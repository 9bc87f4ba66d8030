#include "ExListBox.h"

#include <windowsx.h>

#include <algorithm>

#include "ExFramework.h"
#include "ExPaint.h"
#include "ExPopupGeometry.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr float kTopInset = 2.0f;
constexpr float kTextIndent = 5.0f;
constexpr float kBarWidth = 10.0f;
constexpr ARGB kHighlightedText = 0xFFFFFFFF;

}  // namespace

ExHandle ExListBox::Create(HWND window, const ExRectF& rect, const ExListColours& colours, ARGB textColour) {
  Destroy();
  m_colours = colours;
  m_textColour = textColour;
  m_columnWidth = rect.width;
  m_rows.clear();
  m_selected = m_hovered = m_firstRow = 0;
  ExElementStyle style;
  style.typeCode = kExTypeSkippedByTab;
  const ExHandle handle = ExElement::Create(window, rect, style);
  if (handle == 0) return 0;
  m_scrollBar.Create(handle, {rect.x + rect.width - kBarWidth, rect.y, kBarWidth, rect.height}, true);
  m_scrollBar.SetVisible(false);
  m_scrollBar.OnScroll([this](int first) { ScrollTo(first); });
  return handle;
}

void ExListBox::SetColumnWidth(float width) {
  m_columnWidth = width;
  Repaint();
}

void ExListBox::SetRows(std::vector<std::string> rows) {
  m_rows.clear();
  for (const auto& row : rows) m_rows.push_back(AnsiToWide(row));
  m_selected = m_hovered = m_firstRow = 0;
  const int viewHeight = static_cast<int>(ViewHeight());
  m_scrollBar.SetRange(MaxFirstRow(RowCount(), viewHeight), VisibleRows(viewHeight));
  m_scrollBar.SetPosition(0);
  m_scrollBar.SetVisible(Scrolls());
  Repaint();
}

bool ExListBox::Scrolls() const {
  return MaxFirstRow(RowCount(), static_cast<int>(ViewHeight())) > 0;
}

void ExListBox::SetSelected(int row) {
  m_selected = row >= 1 && row <= RowCount() ? row : 0;
  Repaint();
}

void ExListBox::ScrollIntoView(int row) {
  if (row < 1 || row > RowCount()) return;
  ScrollTo(ScrollRowIntoView(row - 1, m_firstRow, static_cast<int>(ViewHeight())));
}

void ExListBox::ScrollTo(int firstRow) {
  const int last = MaxFirstRow(RowCount(), static_cast<int>(ViewHeight()));
  firstRow = std::min(std::max(0, firstRow), last);
  m_scrollBar.SetPosition(firstRow);
  if (firstRow == m_firstRow) return;
  m_firstRow = firstRow;
  Repaint();
}

int ExListBox::RowUnder(LPARAM point) const {
  const float x = GET_X_LPARAM(point) - Left();
  const float y = GET_Y_LPARAM(point) - Top() - kTopInset;
  if (x < 0 || x >= m_columnWidth) return 0;
  return RowAt(static_cast<int>(y), m_firstRow, RowCount()) + 1;
}

void ExListBox::Pick(int row) {
  if (row < 1 || row > RowCount()) return;
  SetSelected(row);
  if (m_onPick) m_onPick(row);
}

void ExListBox::Paint() {
  GpGraphics* graphics = Graphics();
  if (graphics == nullptr) return;
  GdipGraphicsClear(graphics, 0);
  const RectF whole(0, 0, Width(), Height());
  GpLineGradient* shade = nullptr;
  if (GdipCreateLineBrushFromRect(&whole, m_colours.backgroundTop, m_colours.backgroundBottom,
                                  LinearGradientModeVertical, WrapModeTileFlipXY, &shade) == Ok) {
    GdipFillRectangle(graphics, shade, 0, 0, Width(), Height());
    GdipDeleteBrush(shade);
  }
  UniqueGpStringFormat format;
  GdipCreateStringFormat(StringFormatFlagsNoWrap, LANG_NEUTRAL, format.Put());
  GdipSetStringFormatLineAlign(format.Get(), StringAlignmentCenter);
  GdipSetStringFormatTrimming(format.Get(), StringTrimmingEllipsisCharacter);
  GpFont* font = ExFramework::Get()->DefaultFont();
  const int visible = VisibleRows(static_cast<int>(ViewHeight())) + 1;  // and the partly shown one
  for (int row = m_firstRow; row < RowCount() && row < m_firstRow + visible; ++row) {
    const float y = kTopInset + static_cast<float>((row - m_firstRow) * kExListRowPitch);
    const bool selected = row + 1 == m_selected;
    const bool hovered = row + 1 == m_hovered;
    if (hovered) ExFillRect(graphics, {1, y, m_columnWidth - 2, kExListRowPitch}, m_colours.hovered);
    if (selected) ExFillRect(graphics, {1, y, m_columnWidth - 2, kExListRowPitch}, m_colours.selected);
    ExFillRect(graphics, {1, y + kExListRowPitch - 1, m_columnWidth - 2, 1}, m_colours.rowLine);
    const UniqueGpBrush brush = ExSolidBrush(selected || hovered ? kHighlightedText : m_textColour);
    const RectF layout(kTextIndent, y, m_columnWidth - kTextIndent - 2, kExListRowPitch);
    const std::wstring& text = m_rows[row];
    GdipDrawString(graphics, text.c_str(), static_cast<INT>(text.size()), font, &layout, format.Get(), brush.Get());
  }
  ExFrame(graphics, {0, 0, Width(), Height()}, 0, m_colours.frame);
}

LRESULT ExListBox::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE: {
      const int row = RowUnder(lParam);
      if (row != m_hovered) {
        m_hovered = row;
        Repaint();
      }
      return 0;
    }
    case EXM_MOUSELEAVE:
      m_hovered = 0;
      Repaint();
      return 0;
    case EXM_CLICK:
      Pick(RowUnder(lParam));
      return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(m_firstRow + (GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1));
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_UP:
        case VK_DOWN: {
          const int row = m_selected + (wParam == VK_DOWN ? 1 : -1);
          if (row >= 1 && row <= RowCount()) {
            SetSelected(row);
            ScrollIntoView(row);
          }
          return 0;
        }
        case VK_RETURN:
          Pick(m_selected);
          return 0;
        default:
          return kExUndecided;
      }
    default:
      return ExElement::ClassProc(message, wParam, lParam);
  }
}
