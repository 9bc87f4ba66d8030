// Show and hide effects of the skinned dialog. PlayEffect paces an effect on
// the thread that calls it (a worker for Show's open effect); each step that
// moves, composes or presents the window runs on the window's thread
// (OnWindowThread), so the worker touches only the dialog's atomic flags,
// its step slot and its own copies of the plan. Effects end early when
// StopShowEffect asks.
#include "PvDlg.h"

#include "DialogEffects.h"
#include "MemoryStream.h"
#include "PvImage.h"
#include "PvLayered.h"

namespace {

// How long an effect's thread waits for its step before it looks again
// whether the effect is to stop or the window went.
constexpr DWORD kStepWaitSliceMs = 50;

}  // namespace

void CPvDlg::PlayEffect(int effect) {
  if (!ClaimEffect()) return;
  PlayClaimedEffect(effect);
}

bool CPvDlg::ClaimEffect() {
  bool idle = false;
  return m_bEffectRunning.compare_exchange_strong(idle, true);
}

void CPvDlg::PlayClaimedEffect(int effect) {
  RunEffect(effect);
  m_bEffectRunning = false;
  PostMessageW(m_hWnd, kEffectFinishedMessage, 0, 0);
}

bool CPvDlg::OnWindowThread(std::function<void()> step) {
  if (m_bStopEffect) return false;
  if (GetWindowThreadProcessId(m_hWnd, nullptr) == GetCurrentThreadId()) {
    step();
    return !m_bStopEffect;
  }
  {
    std::lock_guard<std::mutex> lock(m_stepMutex);
    m_pendingStep = std::move(step);
  }
  ResetEvent(m_stepTaken.Get());  // a stopped effect's step may have set it late
  if (PostMessageW(m_hWnd, kEffectStepMessage, 0, 0)) {
    while (!m_bStopEffect && IsWindow(m_hWnd)) {
      if (WaitForSingleObject(m_stepTaken.Get(), kStepWaitSliceMs) == WAIT_OBJECT_0) break;
    }
  }
  std::lock_guard<std::mutex> lock(m_stepMutex);
  // A step still waiting here was not taken: it is dropped.
  const bool taken = !m_pendingStep;
  m_pendingStep = nullptr;
  return taken && !m_bStopEffect;
}

void CPvDlg::RunPendingStep() {
  std::function<void()> step;
  {
    std::lock_guard<std::mutex> lock(m_stepMutex);
    step.swap(m_pendingStep);
  }
  if (step && !m_bStopEffect) step();
  if (step) SetEvent(m_stepTaken.Get());
}

void CPvDlg::MoveWindowTo(int x, int y, int width, int height, UINT flags) {
  SetWindowPos(m_hWnd, nullptr, x, y, width, height, flags);
}

void CPvDlg::SetAlpha(int alpha) {
  const BYTE opacity = static_cast<BYTE>(alpha & 0xFF);
  if (!m_bLayeredWnd) {
    CPvLayered::SetAlpha(m_hWnd, opacity);
    return;
  }
  // A window drawn by UpdateLayeredWindow fades through the updates' constant
  // alpha: an attribute call would make Windows refuse its later updates.
  CPvLayered::SetConstantAlpha(m_hWnd, opacity);
  WindowDc screen(m_hWnd);
  Paint(screen.Get());
}

void CPvDlg::TakeWindowPosition() {
  // A hidden window is shown where the dialog was placed; a closing effect
  // may have left the hidden window elsewhere.
  if (!IsWindowVisible(m_hWnd)) return;
  RECT window = {};
  if (!GetWindowRect(m_hWnd, &window)) return;
  // A child window is placed in its parent's client coordinates.
  if (m_bChild) MapWindowPoints(HWND_DESKTOP, GetParent(m_hWnd), reinterpret_cast<POINT*>(&window), 2);
  m_x = window.left;
  m_y = window.top;
}

void CPvDlg::RunEffect(int effect) {
  if (m_hWnd == nullptr) return;
  // The stored rectangle is read once the window's thread has taken the
  // window's place as it: the wait orders the two threads.
  if (!OnWindowThread([this] { TakeWindowPosition(); })) return;
  const PvRect stored = {m_x, m_y, m_width, m_height};
  switch (effect) {
    case kEffectOpenMiddleLine:
      PlayMiddleLineEffect(stored);
      return;
    case kEffectCardFlipIn:
      PlayCardEffect(stored, false);
      return;
    case kEffectCardFoldOut:
      PlayCardEffect(stored, true);
      return;
    default:
      break;
  }
  EffectPlan plan;
  if (!PlanEffect(effect, stored, &plan)) return;
  for (const EffectStep& step : plan.steps) {
    // Copies only: a stopped effect's thread returns while the window's
    // thread may still carry out the step it took.
    if (!OnWindowThread([this, step] { CarryOut(step); })) return;
    if (step.sleepMs > 0) PauseEffect(static_cast<DWORD>(step.sleepMs));
  }
  OnWindowThread([this, stored = plan.stored, endsDialog = plan.endsDialog] {
    m_x = stored.x;
    m_y = stored.y;
    m_width = stored.width;
    m_height = stored.height;
    if (endsDialog) EndDialog();
  });
}

void CPvDlg::CarryOut(const EffectStep& step) {
  if (step.setBusy) m_bBusy = true;
  // The attributes' opacity is set before the window moves or shows, so it
  // never flashes opaque; an updated window is drawn at its new size.
  if (step.alpha >= 0 && !m_bLayeredWnd) SetAlpha(step.alpha);
  if (step.move) MoveWindowTo(step.rect.x, step.rect.y, step.rect.width, step.rect.height);
  if (step.alpha >= 0 && m_bLayeredWnd) SetAlpha(step.alpha);
  if (step.show) ShowWindow(m_hWnd, SW_SHOW);
  if (step.roundRegion && m_bRounded) SetRoundRegion();
  if (step.clearBusy) m_bBusy = false;
  if (step.redraw) Redraw();
}

void CPvDlg::TakePicture() {
  {
    WindowDc screen(m_hWnd);
    Paint(screen.Get());
  }
  m_effectPicture = CreateStreamOverCopy(nullptr, 0);
  if (m_effectPicture && !CPvImage::Instance().DcToPngStream(m_compositeDC, m_compositeDC.Width(),
                                                             m_compositeDC.Height(), m_effectPicture.Get())) {
    m_effectPicture.Reset();
  }
}

void CPvDlg::PlayMiddleLineEffect(const PvRect& stored) {
  const bool started = OnWindowThread([this, stored] {
    MoveWindowTo(stored.x, stored.y, stored.width, stored.height, SWP_HIDEWINDOW);
    m_bBusy = false;
    Redraw();
    TakePicture();
  });
  if (!started) return;
  for (const MiddleLineBand& band : MiddleLineBands(stored)) {
    const bool drawn = OnWindowThread([this, band, stored] {
      MoveWindowTo(band.window.x, band.window.y, band.window.width, band.window.height);
      RECT client = {};
      GetClientRect(m_hWnd, &client);
      WindowDc screen(m_hWnd);
      CPvDC frame(screen.Get(), client, true, false, m_hWnd);
      const RECT source = {0, band.sourceTop, stored.width, band.sourceTop + band.window.height};
      if (m_effectPicture) {
        CPvImage::Instance().DrawImg(frame, m_effectPicture.Get(), 0, 0, stored.width, band.window.height, &source);
      }
    });
    if (!drawn) return;
    PauseEffect(10);
  }
  OnWindowThread([this, stored] {
    m_effectPicture.Reset();
    MoveWindowTo(stored.x, stored.y, stored.width, stored.height);
    Redraw();
  });
}

void CPvDlg::PlayCardEffect(const PvRect& stored, bool foldOut) {
  const bool started = OnWindowThread([this, foldOut] {
    TakePicture();
    // The card is drawn by UpdateLayeredWindow, which a fade's attribute
    // call leaves refused until the style is set anew; it is drawn opaque.
    if (m_bLayeredWnd) {
      CPvLayered::SetConstantAlpha(m_hWnd, 255);
    } else {
      CPvLayered::Renew(m_hWnd);
    }
    if (!foldOut) ShowWindow(m_hWnd, SW_SHOW);
  });
  if (!started) return;
  const std::vector<CardCorners> frames =
      foldOut ? CardFoldFrames(stored.width, stored.height) : CardFlipFrames(stored.width, stored.height);
  for (const CardCorners& corners : frames) {
    const bool drawn = OnWindowThread([this, corners] {
      RECT window = {};
      GetWindowRect(m_hWnd, &window);
      const RECT whole = {0, 0, window.right - window.left, window.bottom - window.top};
      WindowDc screen(m_hWnd);
      CPvDC frame(screen.Get(), whole, true, true, m_hWnd);
      if (m_effectPicture) {
        CPvImage::Instance().DrawRotate3D(frame, m_effectPicture.Get(), corners.x1, corners.y1, corners.x2, corners.y2,
                                          corners.x3, corners.y3);
      }
    });
    if (!drawn) return;
    PauseEffect(20);
  }
  OnWindowThread([this, foldOut] {
    m_effectPicture.Reset();
    if (foldOut) {
      if (m_bChild) EndDialog();
      return;
    }
    if (!m_bLayeredWnd) CPvLayered::Clear(m_hWnd);
    Redraw();
  });
}
