// The element classes' pure rules: colours, the button's state machine and
// look, progress-bar length, frame timing of animated images,
// tab headers and the places of a host's caption elements. No Windows
// headers, so it is tested directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ExGeometry.h"

// ARGB (0xAARRGGBB) from a colour in 0x00BBGGRR order and an alpha; full
// alpha is stored as 254, as everywhere in the framework.
std::uint32_t ExColour(std::uint32_t bgr, int alpha = 255);

enum class ExButtonState { kNormal = 0, kHover = 1, kPressed = 2, kFocused = 3 };
enum class ExButtonEvent { kPress, kRelease, kFocus, kEnter, kLeave, kKillFocus };

// Presses and releases move the state only for an interactive button.
ExButtonState NextButtonState(ExButtonState current, ExButtonEvent event, bool interactive);

// The six layers of the default button look, as ARGB.
struct ExButtonLook {
  std::uint32_t fill;
  std::uint32_t shadeTop;
  std::uint32_t shadeBottom;
  std::uint32_t outerBorder;
  std::uint32_t innerBorder;
  std::uint32_t topLine;
};
// `theme` is the shading colour (0x00BBGGRR).
ExButtonLook ButtonLook(ExButtonState state, bool disabled, std::uint32_t theme);

// Each colour `share` (0..1) of the way from `from` to `to`, channel by channel.
ExButtonLook BlendLooks(const ExButtonLook& from, const ExButtonLook& to, double share);

// Pixels of a bar of `innerLength` for `value` between the bounds, rounded
// and kept within 0..innerLength; 0 when the bounds are equal.
int ProgressBarLength(int innerLength, double value, double minimum, double maximum);

// Frame timing of an animated image: each frame shows for its delay, then
// the next follows, and the last wraps to the first.
class ExFrameClock {
 public:
  // Delays in hundredths of a second, one per frame; a missing or zero
  // delay shows its frame for 100 ms, as browsers do.
  void Reset(const std::vector<unsigned>& hundredths, int frameCount);
  int FrameCount() const { return static_cast<int>(m_delaysMs.size()); }
  int Frame() const { return m_frame; }
  int DelayMs() const { return m_delaysMs.empty() ? 0 : m_delaysMs[m_frame]; }
  // Moves to the next frame (wrapping) and returns how long it shows.
  int Advance();

 private:
  std::vector<int> m_delaysMs;
  int m_frame = 0;
};

// Header row of a tab control, in the tab's own coordinates.
struct ExTabMetrics {
  float xOffset = 0;
  float yOffset = 0;
  float headerWidth = 100;
  float headerHeight = 25;
};
ExRectF TabHeaderRect(const ExTabMetrics& metrics, int index);
// Index (from 0) of the header under (x, y), or -1.
int TabHeaderAt(const ExTabMetrics& metrics, int pageCount, double x, double y);

// Where a host puts its caption elements for the style flags and the window
// width. The system buttons are 28 x 20 cells, right to left: close,
// maximise, minimise.
struct ExCaptionLayout {
  ExRectF icon;
  ExRectF title;
  ExRectF buttons;
  int buttonCount = 0;
};
constexpr int kExCaptionCellWidth = 28;
constexpr int kExCaptionCellHeight = 20;
ExCaptionLayout CaptionLayout(unsigned styleFlags, int windowWidth);
