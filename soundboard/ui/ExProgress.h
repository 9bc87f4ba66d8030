// ExProgress: a progress bar between a minimum and a maximum, horizontal
// (growing to the right) or vertical (growing upwards), filled with a
// gradient between its two bar colours over a shaded inner well.
#pragma once

#include <optional>

#include "ExControl.h"

constexpr int kExTypeProgress = 12;

struct ExProgressOptions {
  int value = 0;
  int minimum = 0;
  int maximum = 100;
  bool vertical = false;
  Gdiplus::ARGB barStart = 0xE60088FF;
  Gdiplus::ARGB barEnd = 0xE600E080;
  Gdiplus::ARGB border = 0x50000000;
  Gdiplus::ARGB background = 0xD2FFFFFF;  // alpha 0: no background
  std::optional<bool> rounded;            // default: the host's theme value is not 0
  bool visible = true;
};

class ExProgress : public ExControl {
 public:
  ExHandle Create(const ExParent& parent, const ExRectF& rect, const ExProgressOptions& options = {});

  int Value() const { return m_options.value; }
  void SetValue(int value);
  int Minimum() const { return m_options.minimum; }
  int Maximum() const { return m_options.maximum; }
  void SetRange(int minimum, int maximum);
  void SetBarColours(Gdiplus::ARGB start, Gdiplus::ARGB end);
  void SetBorderColour(Gdiplus::ARGB colour);
  void SetBackgroundColour(Gdiplus::ARGB colour);
  bool Rounded() const { return m_rounded; }
  void SetRounded(bool rounded);

 protected:
  void Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;

 private:
  ExProgressOptions m_options;
  bool m_rounded = true;
};
