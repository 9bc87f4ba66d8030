#include "ExWindowAnimation.h"

#include <algorithm>

#include "ExFramework.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr BYTE kOpaque = 255;

}  // namespace

void ExWindowAnimation::PumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {  // not ours to swallow: the message loop ends on it
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void ExWindowAnimation::DrawFrame(const ExRectF& place, BYTE alpha) {
  ExSurface& scratch = ExFramework::Get()->Scratch();
  GpGraphics* graphics = scratch.Graphics();
  GdipResetClip(graphics);
  GdipGraphicsClear(graphics, 0x00FFFFFF);
  GdipSetInterpolationMode(graphics, InterpolationModeBilinear);
  GdipDrawImageRect(graphics, m_composer.Canvas().Image(), place.x, place.y, place.width, place.height);
  GdiFlush();
  m_composer.PresentLayered(scratch.Dc(), alpha);
}

void ExWindowAnimation::RunShow(int animation, int durationMs) {
  constexpr int kSteps = 10;
  const bool wasOpaque = !m_composer.IsLayered();
  m_state.busy = true;
  if (wasOpaque) m_composer.SetLayeredStyle(true);
  const float width = static_cast<float>(m_state.size.width);
  const float height = static_cast<float>(m_state.size.height);
  DrawFrame({0, 0, width, height}, 0);  // nothing visible until the first step
  ShowWindow(m_state.window, SW_SHOWNORMAL);
  m_composer.ApplyBlur(0, 0, 0, 0);
  for (int step = 1; step <= kSteps; ++step) {
    const BYTE alpha = static_cast<BYTE>(25 * (step - 1));
    ExRectF place{0, 0, width, height};
    DWORD waitMs = static_cast<DWORD>(durationMs / kSteps);
    if (animation != kExFade) {
      // Zoom in from 82 % of the size (kExZoomIn); other types grow from 90 %.
      const float share = animation == kExZoomIn ? 0.1f / kSteps * (kSteps - step) : 0.05f / kSteps * (kSteps - step);
      place = {width * share, height * share, width * (1 - 2 * share), height * (1 - 2 * share)};
      if (animation == kExZoomIn) waitMs = static_cast<DWORD>(std::min(10, 11 - step));
    }
    DrawFrame(place, alpha);
    Sleep(waitMs);
    PumpPending();
    if (m_state.window == nullptr) return;  // destroyed by a message handled meanwhile
  }
  m_composer.PresentLayered(m_composer.Canvas().Dc(), kOpaque);
  m_composer.ApplyBlur(6, 6, m_state.size.width - 5, m_state.size.height - 5);
  if (wasOpaque) m_composer.SetLayeredStyle(false);
  m_state.busy = false;
}

void ExWindowAnimation::RunClose(int animation) {
  m_state.busy = true;
  if (!m_composer.IsLayered()) m_composer.SetLayeredStyle(true);
  m_composer.ApplyBlur(0, 0, 0, 0);
  const float width = static_cast<float>(m_state.size.width);
  const float height = static_cast<float>(m_state.size.height);
  const bool zoom = animation == kExZoomFade;
  const int steps = zoom ? 20 : 15;
  for (int step = 1; step <= steps; ++step) {
    ExRectF place{0, 0, width, height};
    int alpha = 255 - 17 * step;
    if (zoom) {
      alpha = 255 - 12 * step;
      const float inset = 1.5f * step;
      place = {inset, inset, width - 2 * inset, height - 2 * inset};
    } else if (animation != kExFade) {
      const float inset = 0.5f * step;  // a gentle shrink while fading
      place = {inset, inset, width - 2 * inset, height - 2 * inset};
    }
    DrawFrame(place, static_cast<BYTE>(std::max(0, alpha)));
    Sleep(10);
    PumpPending();
    if (m_state.window == nullptr) return;  // destroyed by a message handled meanwhile
  }
  m_state.busy = false;
}
