// ExLabel: text in a rectangle with alignment, optional word wrap, an
// optional border, gradient background and text outline.
#pragma once

#include <optional>
#include <string>

#include "ExControl.h"
#include "ExText.h"

constexpr int kExTypeLabel = 3;

struct ExLabelOptions {
  Gdiplus::ARGB textColour = 0xD2000000;
  ExFontSpec font;
  Gdiplus::StringAlignment alignment = Gdiplus::StringAlignmentNear;
  Gdiplus::StringAlignment lineAlignment = Gdiplus::StringAlignmentNear;  // top, centre or bottom
  bool wordWrap = false;
  bool visible = true;
  std::optional<Gdiplus::ARGB> border;
  std::optional<Gdiplus::ARGB> backgroundFrom;  // none: no background
  std::optional<Gdiplus::ARGB> backgroundTo;    // none: a plain backgroundFrom
  bool verticalGradient = true;
  Gdiplus::ARGB outline = 0;  // alpha 0: no outline around the glyphs
};

class ExLabel : public ExControl {
 public:
  // `text` is ANSI.
  ExHandle Create(const ExParent& parent, const ExRectF& rect, const std::string& text,
                  const ExLabelOptions& options = {});

  std::string Text() const;
  void SetText(const std::string& text);
  void SetWideText(std::wstring text);
  Gdiplus::ARGB TextColour() const { return m_text.Colour(); }
  void SetTextColour(Gdiplus::ARGB colour);

 protected:
  void Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;
  bool OutlinesFocus() const override { return true; }

 private:
  ExText m_text{0xD2000000};
  ExLabelOptions m_options;
};
