// ExButton: a push button with four visual states (normal, hover, pressed,
// focused), drawn from the framework's six-layer look in the host's theme
// colour unless a subclass draws its own background. The look moves to a new
// state's colours in two steps, one animation period (60 ms) apart. Its text's "&" names
// an access key: Alt with that key clicks the button.
#pragma once

#include <optional>
#include <string>

#include "ExControlLogic.h"
#include "ExControl.h"
#include "ExText.h"

constexpr int kExTypeButton = 2;

struct ExButtonOptions {
  Gdiplus::ARGB textColour = 0xD2000000;
  ExFontSpec font;
  bool visible = true;
  bool rounded = true;              // round borders; plain rectangles when off
  bool clip = false;                // clip every layer to a rounded rectangle of radius 4
  std::optional<COLORREF> shading;  // default: the host's theme value
};

class ExButton : public ExControl {
 public:
  // `text` is ANSI. 0 on failure, as ExElement::Create.
  ExHandle Create(const ExParent& parent, const ExRectF& rect, const std::string& text,
                  const ExButtonOptions& options = {});

  std::string Text() const;
  void SetText(const std::string& text);
  Gdiplus::ARGB TextColour() const { return m_text.Colour(); }
  void SetTextColour(Gdiplus::ARGB colour);
  ExButtonState State() const { return m_state; }
  int UserValue() const { return m_userValue; }
  void SetUserValue(int value) { m_userValue = value; }

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;
  // Paints what lies under the text; the default is the six-layer look.
  virtual void DrawBackground(Gdiplus::GpGraphics* graphics, const ExRectF& area);
  virtual bool ShowsText() const { return true; }
  ExText& TextLook() { return m_text; }

 private:
  void ChangeState(ExButtonEvent event);
  void OnAnimationTick();
  // The look of the state, or of the way to it while the change animates.
  ExButtonLook CurrentLook() const;

  ExText m_text{0xD2000000};
  ExButtonState m_state = ExButtonState::kNormal;
  bool m_rounded = true;
  bool m_clip = false;
  std::optional<COLORREF> m_shading;
  int m_userValue = 0;
  ExButtonLook m_fadeFrom = {};
  int m_fadeStep = 0;  // 1 while the half-way look shows
  bool m_paintedDisabled = false;
};
