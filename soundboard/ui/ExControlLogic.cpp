#include "ExControlLogic.h"

#include <algorithm>
#include <cmath>

#include "ExStyleFlags.h"

std::uint32_t ExColour(std::uint32_t bgr, int alpha) {
  const std::uint32_t a = alpha >= 255 ? 0xFE : static_cast<std::uint32_t>(std::max(0, alpha));
  const std::uint32_t red = bgr & 0xFF;
  const std::uint32_t green = (bgr >> 8) & 0xFF;
  const std::uint32_t blue = (bgr >> 16) & 0xFF;
  return (a << 24) | (red << 16) | (green << 8) | blue;
}

ExButtonState NextButtonState(ExButtonState current, ExButtonEvent event, bool interactive) {
  switch (event) {
    case ExButtonEvent::kPress:
      return interactive ? ExButtonState::kPressed : current;
    case ExButtonEvent::kRelease:
      return interactive ? ExButtonState::kHover : current;
    case ExButtonEvent::kFocus:
      return ExButtonState::kFocused;
    case ExButtonEvent::kEnter:
      return ExButtonState::kHover;
    case ExButtonEvent::kLeave:
    case ExButtonEvent::kKillFocus:
      return ExButtonState::kNormal;
  }
  return current;
}

ExButtonLook ButtonLook(ExButtonState state, bool disabled, std::uint32_t theme) {
  constexpr std::uint32_t kLight = 0xECECEC;
  constexpr std::uint32_t kWhite = 0xFFFFFF;
  constexpr std::uint32_t kBlack = 0x000000;
  if (disabled) {
    return {ExColour(kWhite, 51), ExColour(theme, 51),  ExColour(theme, 51),
            ExColour(kBlack, 35), ExColour(kWhite, 30), ExColour(kBlack, 0)};
  }
  // Alphas per state: shade top, shade bottom, outer border, inner border, top line.
  struct Alphas {
    int top, bottom, outer, inner, line;
  };
  static constexpr Alphas kAlphas[] = {
      {0, 102, 80, 51, 25},   // normal
      {21, 153, 70, 51, 30},  // hover
      {153, 21, 70, 51, 10},  // pressed
      {51, 153, 80, 61, 25},  // focused
  };
  const Alphas& a = kAlphas[static_cast<int>(state)];
  return {ExColour(kLight, 204),     ExColour(theme, a.top),    ExColour(theme, a.bottom),
          ExColour(kBlack, a.outer), ExColour(kWhite, a.inner), ExColour(kBlack, a.line)};
}

namespace {

std::uint32_t BlendColour(std::uint32_t from, std::uint32_t to, double share) {
  std::uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const double a = (from >> shift) & 0xFF;
    const double b = (to >> shift) & 0xFF;
    result |= static_cast<std::uint32_t>(std::lround(a + (b - a) * share)) << shift;
  }
  return result;
}

}  // namespace

ExButtonLook BlendLooks(const ExButtonLook& from, const ExButtonLook& to, double share) {
  share = std::min(1.0, std::max(0.0, share));
  return {BlendColour(from.fill, to.fill, share),
          BlendColour(from.shadeTop, to.shadeTop, share),
          BlendColour(from.shadeBottom, to.shadeBottom, share),
          BlendColour(from.outerBorder, to.outerBorder, share),
          BlendColour(from.innerBorder, to.innerBorder, share),
          BlendColour(from.topLine, to.topLine, share)};
}

int ProgressBarLength(int innerLength, double value, double minimum, double maximum) {
  if (innerLength <= 0 || maximum == minimum) return 0;
  const double share = (value - minimum) / (maximum - minimum);
  const double length = std::floor(innerLength * share + 0.5);
  return static_cast<int>(std::min<double>(innerLength, std::max(0.0, length)));
}

void ExFrameClock::Reset(const std::vector<unsigned>& hundredths, int frameCount) {
  constexpr int kDefaultDelayMs = 100;
  m_delaysMs.assign(static_cast<size_t>(std::max(0, frameCount)), kDefaultDelayMs);
  for (size_t i = 0; i < m_delaysMs.size() && i < hundredths.size(); ++i) {
    if (hundredths[i] > 0) m_delaysMs[i] = static_cast<int>(std::min(hundredths[i], 100000u) * 10);
  }
  m_frame = 0;
}

int ExFrameClock::Advance() {
  if (m_delaysMs.empty()) return 0;
  m_frame = (m_frame + 1) % FrameCount();
  return DelayMs();
}

ExRectF TabHeaderRect(const ExTabMetrics& metrics, int index) {
  return {metrics.xOffset + index * metrics.headerWidth, metrics.yOffset, metrics.headerWidth, metrics.headerHeight};
}

int TabHeaderAt(const ExTabMetrics& metrics, int pageCount, double x, double y) {
  for (int index = 0; index < pageCount; ++index) {
    if (RectContains(TabHeaderRect(metrics, index), x, y)) return index;
  }
  return -1;
}

ExCaptionLayout CaptionLayout(unsigned styleFlags, int windowWidth) {
  constexpr float kMargin = 11;  // clear of the window's shadow edge
  constexpr float kIconSize = 16;
  ExCaptionLayout layout;
  for (unsigned flag : {kExCloseButton, kExMaximiseButton, kExMinimiseButton}) {
    if (styleFlags & flag) ++layout.buttonCount;
  }
  const float buttonsWidth = static_cast<float>(layout.buttonCount * kExCaptionCellWidth);
  layout.buttons = {windowWidth - kMargin - buttonsWidth, 6, buttonsWidth, kExCaptionCellHeight};
  layout.icon = {kMargin, kMargin, kIconSize, kIconSize};
  const float titleLeft = (styleFlags & kExWindowIcon) ? kMargin + kIconSize + 6 : kMargin;
  const float titleRight = layout.buttonCount > 0 ? layout.buttons.x - 4 : windowWidth - kMargin;
  layout.title = {titleLeft, 6, std::max(0.0f, titleRight - titleLeft), 26};
  return layout;
}
