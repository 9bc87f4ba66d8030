#include "ExProgress.h"

#include "ExControlLogic.h"
#include "ExHost.h"
#include "ExPaint.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

ExHandle ExProgress::Create(const ExParent& parent, const ExRectF& rect, const ExProgressOptions& options) {
  Destroy();
  m_options = options;
  ExElementStyle style;
  style.typeCode = kExTypeProgress;
  style.visible = options.visible;
  style.interactive = false;
  m_rounded = options.rounded.value_or(true);
  const ExHandle handle = ExElement::Create(parent, rect, style);
  if (handle != 0 && !options.rounded) SetRounded(Host()->Theme() != 0);  // the host decides by default
  return handle;
}

void ExProgress::SetValue(int value) {
  if (value == m_options.value) return;
  m_options.value = value;
  Repaint();
}

void ExProgress::SetRange(int minimum, int maximum) {
  m_options.minimum = minimum;
  m_options.maximum = maximum;
  Repaint();
}

void ExProgress::SetBarColours(ARGB start, ARGB end) {
  m_options.barStart = start;
  m_options.barEnd = end;
  Repaint();
}

void ExProgress::SetBorderColour(ARGB colour) {
  m_options.border = colour;
  Repaint();
}

void ExProgress::SetBackgroundColour(ARGB colour) {
  m_options.background = colour;
  Repaint();
}

void ExProgress::SetRounded(bool rounded) {
  m_rounded = rounded;
  Repaint();
}

void ExProgress::Paint(GpGraphics* graphics, const ExRectF& area) {
  const int width = static_cast<int>(Width());
  const int height = static_cast<int>(Height());
  const ExRectF inner{2, 2, static_cast<float>(width - 4), static_cast<float>(height - 4)};
  ExFillPath(graphics, ExRoundedPath(area, m_rounded ? 6.0f : 0.0f).Get(), m_options.background);

  UniqueRegion roundedClip;
  UniqueGpRegion clip;
  if (m_rounded) roundedClip.Reset(CreateRoundRectRgn(2, 2, width - 1, height - 1, 3, 3));
  if (roundedClip && GdipCreateRegionHrgn(roundedClip.Get(), clip.Put()) == Ok) {
    GdipSetClipRegion(graphics, clip.Get(), CombineModeReplace);
  } else {
    GdipSetClipRect(graphics, inner.x, inner.y, inner.width, inner.height, CombineModeReplace);
  }
  const bool vertical = m_options.vertical;
  ExFillGradient(graphics, inner, nullptr, 0x00000000, 0x33000000, !vertical);

  const int length = ProgressBarLength(static_cast<int>(vertical ? inner.height : inner.width), m_options.value,
                                       m_options.minimum, m_options.maximum);
  if (length > 0) {
    const float bar = static_cast<float>(length);
    if (vertical) {
      // Grows from the bottom: the start colour sits at the bottom.
      ExFillGradient(graphics, {inner.x, inner.y + inner.height - bar, inner.width, bar}, nullptr, m_options.barEnd,
                     m_options.barStart, true);
    } else {
      ExFillGradient(graphics, {inner.x, inner.y, bar, inner.height}, nullptr, m_options.barStart, m_options.barEnd,
                     false);
    }
  }
  GdipResetClip(graphics);
  ExFrame(graphics, area, m_rounded ? 6.0f : 0.0f, m_options.border);
}
