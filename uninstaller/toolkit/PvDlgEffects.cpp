// Show and hide effects of the skinned dialog. They run on the thread that
// calls PlayEffect (a worker for Show's open effect) and touch only the
// window, the stored rectangle and the dialog's atomic flags; they end early
// when StopShowEffect asks.
#include "PvDlg.h"

#include "DialogEffects.h"
#include "MemoryStream.h"
#include "PvImage.h"

void CPvDlg::PlayEffect(int effect) {
  bool idle = false;
  if (!m_bEffectRunning.compare_exchange_strong(idle, true)) return;
  RunEffect(effect);
  m_bEffectRunning = false;
  PostMessageW(m_hWnd, kEffectFinishedMessage, 0, 0);
}

void CPvDlg::MoveWindowTo(int x, int y, int width, int height, UINT flags) {
  SetWindowPos(m_hWnd, nullptr, x, y, width, height, flags);
}

void CPvDlg::SetAlpha(int alpha) {
  SetWindowLongW(m_hWnd, GWL_EXSTYLE, GetWindowLongW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(m_hWnd, 0, static_cast<BYTE>(alpha & 0xFF), LWA_ALPHA);
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
  TakeWindowPosition();
  switch (effect) {
    case kEffectOpenMiddleLine:
      PlayMiddleLineEffect();
      return;
    case kEffectCardFlipIn:
      PlayCardEffect(false);
      return;
    case kEffectCardFoldOut:
      PlayCardEffect(true);
      return;
    default:
      break;
  }
  EffectPlan plan;
  if (!PlanEffect(effect, {m_x, m_y, m_width, m_height}, &plan)) return;
  for (const EffectStep& step : plan.steps) {
    if (m_bStopEffect) return;
    if (step.setBusy) m_bBusy = true;
    if (step.alpha >= 0) SetAlpha(step.alpha);
    if (step.move) MoveWindowTo(step.rect.x, step.rect.y, step.rect.width, step.rect.height);
    if (step.show) ShowWindow(m_hWnd, SW_SHOW);
    if (step.roundRegion && m_bRounded) SetRoundRegion();
    if (step.clearBusy) m_bBusy = false;
    if (step.redraw) Redraw();
    if (step.sleepMs > 0) PauseEffect(static_cast<DWORD>(step.sleepMs));
  }
  m_x = plan.stored.x;
  m_y = plan.stored.y;
  m_width = plan.stored.width;
  m_height = plan.stored.height;
  if (plan.endsDialog) EndDialog();
}

namespace {

// Composes the window afresh and takes the composed frame as a BMP stream.
UniqueCom<IStream> TakePicture(CPvDlg& dialog) {
  {
    WindowDc screen(dialog.GetHwnd());
    dialog.Paint(screen.Get());
  }
  UniqueCom<IStream> stream = CreateStreamOverCopy(nullptr, 0);
  HBITMAP frame = static_cast<HBITMAP>(GetCurrentObject(dialog.GetCompositeDC(), OBJ_BITMAP));
  if (!stream || !CPvImage::Instance().BmToStream(frame, stream.Get(), L"bmp")) return UniqueCom<IStream>();
  return stream;
}

}  // namespace

void CPvDlg::PlayMiddleLineEffect() {
  MoveWindowTo(m_x, m_y, m_width, m_height, SWP_HIDEWINDOW);
  m_bBusy = false;
  Redraw();
  UniqueCom<IStream> picture = TakePicture(*this);
  for (const MiddleLineBand& band : MiddleLineBands({m_x, m_y, m_width, m_height})) {
    if (m_bStopEffect) return;
    MoveWindowTo(band.window.x, band.window.y, band.window.width, band.window.height);
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    WindowDc screen(m_hWnd);
    CPvDC frame(screen.Get(), client, true, false, m_hWnd);
    const RECT source = {0, band.sourceTop, m_width, band.sourceTop + band.window.height};
    if (picture) CPvImage::Instance().DrawImg(frame, picture.Get(), 0, 0, m_width, band.window.height, &source);
    frame.Draw();
    PauseEffect(10);
  }
  MoveWindowTo(m_x, m_y, m_width, m_height);
  Redraw();
}

void CPvDlg::PlayCardEffect(bool foldOut) {
  UniqueCom<IStream> picture = TakePicture(*this);
  SetWindowLongW(m_hWnd, GWL_EXSTYLE, GetWindowLongW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  if (!foldOut) ShowWindow(m_hWnd, SW_SHOW);
  const std::vector<CardCorners> frames =
      foldOut ? CardFoldFrames(m_width, m_height) : CardFlipFrames(m_width, m_height);
  for (const CardCorners& corners : frames) {
    if (m_bStopEffect) return;
    RECT window = {};
    GetWindowRect(m_hWnd, &window);
    const RECT whole = {0, 0, window.right - window.left, window.bottom - window.top};
    WindowDc screen(m_hWnd);
    CPvDC frame(screen.Get(), whole, false, true, m_hWnd);
    if (picture) {
      CPvImage::Instance().DrawRotate3D(frame, picture.Get(), corners.x1, corners.y1, corners.x2, corners.y2,
                                        corners.x3, corners.y3);
    }
    frame.Draw();
    PauseEffect(20);
  }
  picture.Reset();
  if (foldOut) {
    if (m_bChild) EndDialog();
    return;
  }
  if (!m_bLayeredWnd) SetWindowLongW(m_hWnd, GWL_EXSTYLE, GetWindowLongW(m_hWnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  Redraw();
}
