#include "ExScrollBar.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "ExPaint.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr ARGB kTrackColour = 0x30000000;
constexpr ARGB kPartColour = 0x90000000;
constexpr float kMinimumThumb = 8.0f;

}  // namespace

ExHandle ExScrollBar::Create(ExHandle parent, const ExRectF& rect, bool vertical) {
  m_vertical = vertical;
  ExElementStyle style;
  style.interactive = false;  // presses are taken through EXM_WANTPRESS: the focus stays
  return ExElement::Create(parent, rect, style);
}

void ExScrollBar::SetRange(int maximum, int page) {
  m_maximum = std::max(0, maximum);
  m_page = std::max(1, page);
  m_position = std::min(m_position, m_maximum);
  Repaint();
}

void ExScrollBar::SetPosition(int position) {
  const int clamped = std::min(std::max(0, position), m_maximum);
  if (clamped == m_position) return;
  m_position = clamped;
  Repaint();
}

ExScrollBar::Parts ExScrollBar::Measure() const {
  const float length = m_vertical ? Height() : Width();
  const float arrow = std::min(m_vertical ? Width() : Height(), length / 2);
  Parts parts{arrow, std::max(0.0f, length - 2 * arrow), arrow, 0};
  const float total = static_cast<float>(m_maximum + m_page);
  parts.thumbLength = std::min(parts.trackLength, std::max(kMinimumThumb, parts.trackLength * m_page / total));
  if (m_maximum > 0) parts.thumbStart += (parts.trackLength - parts.thumbLength) * m_position / m_maximum;
  return parts;
}

float ExScrollBar::Along(LPARAM point) const {
  return m_vertical ? GET_Y_LPARAM(point) - Top() : GET_X_LPARAM(point) - Left();
}

void ExScrollBar::ScrollTo(int position) {
  const int before = m_position;
  SetPosition(position);
  if (m_position != before && m_onScroll) m_onScroll(m_position);
}

void ExScrollBar::OnPress(LPARAM point) {
  const Parts parts = Measure();
  const float at = Along(point);
  if (at < parts.trackStart) {
    ScrollTo(m_position - 1);
  } else if (at >= parts.trackStart + parts.trackLength) {
    ScrollTo(m_position + 1);
  } else if (at < parts.thumbStart) {
    ScrollTo(m_position - m_page);
  } else if (at >= parts.thumbStart + parts.thumbLength) {
    ScrollTo(m_position + m_page);
  } else {
    m_dragging = true;
    m_grabOffset = at - parts.thumbStart;
  }
}

void ExScrollBar::OnDrag(LPARAM point) {
  const Parts parts = Measure();
  const float room = parts.trackLength - parts.thumbLength;
  if (room <= 0) return;
  const float share = (Along(point) - m_grabOffset - parts.trackStart) / room;
  ScrollTo(static_cast<int>(std::lround(share * m_maximum)));
}

void ExScrollBar::Paint() {
  GpGraphics* graphics = Graphics();
  GdipGraphicsClear(graphics, 0);
  const float width = Width();
  const float height = Height();
  ExFillRect(graphics, {0, 0, width, height}, kTrackColour);
  const Parts parts = Measure();
  const float across = m_vertical ? width : height;
  const float a = parts.trackStart;  // arrow length
  const float end = parts.trackStart + parts.trackLength;
  // Arrow glyphs as triangles pointing out of the bar, then the thumb.
  if (m_vertical) {
    const PointF up[] = {{across / 2, a * 0.25f}, {across * 0.8f, a * 0.75f}, {across * 0.2f, a * 0.75f}};
    const PointF down[] = {
        {across * 0.2f, end + a * 0.25f}, {across * 0.8f, end + a * 0.25f}, {across / 2, end + a * 0.75f}};
    ExFillPolygon(graphics, kPartColour, up, 3);
    ExFillPolygon(graphics, kPartColour, down, 3);
    if (m_maximum > 0) ExFillRect(graphics, {2, parts.thumbStart, across - 4, parts.thumbLength}, kPartColour);
  } else {
    const PointF left[] = {{a * 0.25f, across / 2}, {a * 0.75f, across * 0.2f}, {a * 0.75f, across * 0.8f}};
    const PointF right[] = {
        {end + a * 0.25f, across * 0.2f}, {end + a * 0.75f, across / 2}, {end + a * 0.25f, across * 0.8f}};
    ExFillPolygon(graphics, kPartColour, left, 3);
    ExFillPolygon(graphics, kPartColour, right, 3);
    if (m_maximum > 0) ExFillRect(graphics, {parts.thumbStart, 2, parts.thumbLength, across - 4}, kPartColour);
  }
}

LRESULT ExScrollBar::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case EXM_WANTPRESS:
      return 1;
    case WM_LBUTTONDOWN:
      OnPress(lParam);
      return 0;
    case WM_MOUSEMOVE:
      if (m_dragging) OnDrag(lParam);
      return 0;
    case WM_LBUTTONUP:
    case EXM_DESTROY:
      m_dragging = false;
      return 0;
    default:
      return ExElement::ClassProc(message, wParam, lParam);
  }
}
