#include "ExButton.h"

#include "ExAccessKeyText.h"
#include "ExFramework.h"
#include "ExHost.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

ExHandle ExButton::Create(const ExParent& parent, const ExRectF& rect, const std::string& text,
                          const ExButtonOptions& options) {
  Destroy();
  m_text.SetText(AnsiToWide(text));
  m_text.SetColour(options.textColour);
  m_text.SetFont(options.font);
  m_text.Format().SetAlignment(StringAlignmentCenter);
  m_text.Format().SetLineAlignment(StringAlignmentCenter);
  m_rounded = options.rounded;
  m_clip = options.clip;
  m_shading = options.shading;
  m_state = ExButtonState::kNormal;
  ExElementStyle style;
  style.typeCode = kExTypeButton;
  style.visible = options.visible;
  style.animationPeriod = 60;
  return ExElement::Create(parent, rect, style);
}

std::string ExButton::Text() const {
  return WideToAnsi(m_text.Text());
}

void ExButton::SetText(const std::string& text) {
  m_text.SetText(AnsiToWide(text));
  if (Handle() != 0) Host()->SetAccessKey(Handle(), AccessKeyOf(m_text.Text()));
  Repaint();
}

void ExButton::SetTextColour(ARGB colour) {
  m_text.SetColour(colour);
  Repaint();
}

LRESULT ExButton::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      ChangeState(ExButtonEvent::kPress);
      break;
    case WM_LBUTTONUP:
      ChangeState(ExButtonEvent::kRelease);
      break;
    case EXM_SETFOCUS:
      ChangeState(ExButtonEvent::kFocus);
      break;
    case EXM_MOUSEENTER:
      ChangeState(ExButtonEvent::kEnter);
      break;
    case EXM_MOUSELEAVE:
      ChangeState(ExButtonEvent::kLeave);
      if (Disabled() != m_paintedDisabled) Repaint();  // enabling or disabling ends here too
      break;
    case WM_TIMER:
      OnAnimationTick();
      break;
    case EXM_KILLFOCUS:
      ChangeState(ExButtonEvent::kKillFocus);
      break;
    case WM_CREATE:
      Host()->SetAccessKey(Handle(), AccessKeyOf(m_text.Text()));
      return 0;
    default:
      break;
  }
  return ExControl::ClassProc(message, wParam, lParam);
}

void ExButton::ChangeState(ExButtonEvent event) {
  const ExButtonState next = NextButtonState(m_state, event, Interactive());
  if (next == m_state) return;
  m_fadeFrom = CurrentLook();
  m_state = next;
  m_fadeStep = AnimationPeriod() > 0 && StartTimer(static_cast<UINT>(AnimationPeriod())) ? 1 : 0;
  Repaint();
}

void ExButton::OnAnimationTick() {
  // The half-way look has had its period: now the state's own.
  m_fadeStep = 0;
  StopTimer();
  Repaint();
}

ExButtonLook ExButton::CurrentLook() const {
  const COLORREF theme = m_shading.value_or(static_cast<COLORREF>(Host() != nullptr ? Host()->Theme() : 7));
  const ExButtonLook target = ButtonLook(m_state, Disabled(), theme);
  return m_fadeStep > 0 ? BlendLooks(m_fadeFrom, target, 0.5) : target;
}

void ExButton::Paint(GpGraphics* graphics, const ExRectF& area) {
  m_paintedDisabled = Disabled();
  if (m_clip) {
    UniqueGpPath clip = ExRoundedPath(area, 4);
    if (clip) GdipSetClipPath(graphics, clip.Get(), CombineModeReplace);
  }
  DrawBackground(graphics, area);
  if (ShowsText()) m_text.Draw(graphics, area);
  GdipResetClip(graphics);
}

void ExButton::DrawBackground(GpGraphics* graphics, const ExRectF& area) {
  const ExButtonLook look = CurrentLook();
  const float radius = m_rounded ? 3.0f : 0.0f;
  UniqueGpPath body = ExRoundedPath({0.5f, 0.5f, area.width - 1, area.height - 1}, radius);
  ExFillPath(graphics, body.Get(), look.fill);
  ExFillGradient(graphics, area, body.Get(), look.shadeTop, look.shadeBottom, true);
  ExFrame(graphics, area, radius, look.outerBorder);
  ExFrame(graphics, {1, 1, area.width - 2, area.height - 2}, radius, look.innerBorder);
  ExFillRect(graphics, {2, 2, area.width - 4, 1}, look.topLine);
}
