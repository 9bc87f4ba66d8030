// ExWindowAnimation: a host window's show and close animations. Each step
// draws the composed canvas, scaled and faded, through the layered-window
// path and lets pending messages through, so the window may be destroyed
// meanwhile: every step checks that the host is still attached. The host
// owns it; UI thread only.
#pragma once

#include "ExComposer.h"
#include "ExHostState.h"

enum ExAnimation {
  kExNoAnimation = 0,
  kExFade = 1,
  kExZoomFade = 2,
  kExZoomIn = 7,
};

class ExWindowAnimation {
 public:
  ExWindowAnimation(ExHostState& state, ExComposer& composer) : m_state(state), m_composer(composer) {}

  // Dispatches the messages waiting on this thread; a WM_QUIT is put back.
  static void PumpPending();

  // Shows the window with `animation` (not kExNoAnimation) over `durationMs`,
  // from a canvas composed beforehand, and ends opaque and unblurred.
  void RunShow(int animation, int durationMs);
  // Fades (and shrinks) the window out; the caller hides it afterwards.
  void RunClose(int animation);

 private:
  void DrawFrame(const ExRectF& place, BYTE alpha);

  ExHostState& m_state;
  ExComposer& m_composer;
};
