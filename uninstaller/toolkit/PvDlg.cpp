#include "PvDlg.h"

#include <windowsx.h>

#include <utility>

#include "DialogPlacement.h"
#include "PvApp.h"
#include "PvImage.h"
#include "PvThread.h"

namespace {

// The work area of the monitor a dialog belongs to: its owner's, else the
// one under the cursor; the primary one's when no monitor answers.
PvRect WorkAreaFor(HWND owner) {
  POINT cursor = {};
  GetCursorPos(&cursor);  // fails on a desktop without input: (0, 0) is on the primary monitor
  HMONITOR monitor = owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                      : MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  const RECT& work = info.rcWork;
  return {work.left, work.top, work.right - work.left, work.bottom - work.top};
}

}  // namespace

CPvDlg::CPvDlg() : m_stepTaken(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  m_pContext = this;
}

CPvDlg::~CPvDlg() {
  StopShowEffect();
}

void CPvDlg::OnInit() {
  if (m_bChild) {
    m_nBackgroundVerticalEdge = 2;
    m_bDraggable = false;
    m_bRounded = false;
  }
  if (m_bRounded) SetRoundRegion();
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  WindowDc screen(m_hWnd);
  m_compositeDC.CreateMemDC(screen.Get(), client, false, false, m_hWnd);
  m_backgroundDC.CreateMemDC(screen.Get(), client, false, false, m_hWnd);
  DrawBackground(m_backgroundDC, client.left, client.top, client.right, client.bottom);
}

void CPvDlg::AttachControls() {
  const tagPvHost host = {m_hWnd, m_backgroundDC, m_compositeDC, m_bLayeredWnd};
  for (CPvBase* control : m_controls) control->AttachTo(host);
}

LRESULT CPvDlg::WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (wnd != m_hWnd) return DefWindowProcW(wnd, message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
      OnSize(wParam, lParam);
      return 0;
    case WM_PAINT:
      return OnPaintMessage(wnd);
    case WM_ERASEBKGND:
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(wParam, lParam);
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case kEffectStepMessage:
      RunPendingStep();
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), GET_X_LPARAM(lParam),
                   GET_Y_LPARAM(lParam));
      return 0;
    default:
      return CPvWin::WindowProc(wnd, message, wParam, lParam);
  }
}

void CPvDlg::SetRoundRegion() {
  if (m_hWnd == nullptr) return;
  m_bRounded = true;
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  const LONG l = client.left, t = client.top, r = client.right, b = client.bottom;
  const RECT parts[] = {{l, t + 2, r, b - 2},
                        {l + 2, t, r - 2, t + 1},
                        {l + 2, b - 1, r - 2, b},
                        {l + 1, t + 1, r - 1, t + 2},
                        {l + 1, b - 2, r - 1, b - 1}};
  UniqueGdiObject region(CreateRectRgnIndirect(&parts[0]));
  for (size_t i = 1; i < sizeof parts / sizeof parts[0]; ++i) {
    UniqueGdiObject part(CreateRectRgnIndirect(&parts[i]));
    CombineRgn(static_cast<HRGN>(region.Get()), static_cast<HRGN>(region.Get()), static_cast<HRGN>(part.Get()), RGN_OR);
  }
  // The window owns the region once it accepted it.
  if (SetWindowRgn(m_hWnd, static_cast<HRGN>(region.Get()), TRUE) != 0) region.Release();
}

void CPvDlg::DrawBackground(HDC hdc, int left, int top, int right, int bottom) {
  if (m_bChild && m_hParentBackgroundDC != nullptr) {
    BitBlt(hdc, left, top, right - left, bottom - top, m_hParentBackgroundDC, m_x, m_y, SRCCOPY);
    return;
  }
  if (m_nBackgroundId < 1) {
    UniqueGdiObject brush(CreateSolidBrush(m_backgroundColor));
    const RECT area = {left, top, right, bottom};
    FillRect(hdc, &area, static_cast<HBRUSH>(brush.Get()));
    return;
  }
  CPvImage::Instance().DrawStretchImg(hdc, PvImageSource(m_nBackgroundId, L"IMG"), 0, 0, right - left, bottom - top,
                                      m_nBackgroundHorizontalEdge, 1, 0, m_nBackgroundVerticalEdge);
}

void CPvDlg::DrawContent(HDC) {}

void CPvDlg::Paint(HDC hdc) {
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  CPvDC frame(hdc, client, true, m_bLayeredWnd, m_hWnd);
  DrawBackground(frame, client.left, client.top, client.right, client.bottom);
  DrawContent(frame);
  if (!m_bBusy) {
    for (CPvBase* control : m_controls) control->Paint(frame);
    BitBlt(m_compositeDC, 0, 0, client.right - client.left, client.bottom - client.top, frame, 0, 0, SRCCOPY);
  }
}

bool CPvDlg::IsEmptyPoint(int x, int y) const {
  for (const CPvBase* control : m_controls) {
    if (control->HoldsPoint(x, y)) return false;
  }
  return true;
}

void CPvDlg::OnClose() {
  Close(IDCANCEL);
}

void CPvDlg::OnMouseWheel(int, int, int, int) {}
void CPvDlg::OnSize(WPARAM, LPARAM) {}
void CPvDlg::OnHover(int, int) {}

void CPvDlg::OnMouseMove(WPARAM, LPARAM lParam) {
  if (m_bBusy) return;
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  for (CPvBase* control : m_controls) control->OnMouse(x, y, kMouseMove, m_pContext);
  OnHover(x, y);
}

void CPvDlg::OnLButtonDown(WPARAM, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  if (m_bDraggable && (m_bDragAnywhere || y < m_nCaptionHeight) && IsEmptyPoint(x, y)) {
    SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
  if (m_bBusy) return;
  for (CPvBase* control : m_controls) control->OnMouse(x, y, kMouseDown, m_pContext);
}

void CPvDlg::OnLButtonUp(WPARAM, LPARAM lParam) {
  if (m_bBusy) return;
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  for (CPvBase* control : m_controls) {
    control->OnMouse(x, y, kMouseUp, control->Context() != nullptr ? control->Context() : m_pContext);
  }
}

void CPvDlg::Show(int effect, bool centre, int showCommand) {
  if (m_bEffectRunning || m_hWnd == nullptr) return;
  if (centre) {
    const PvRect place = CentredIn(WorkAreaFor(m_bChild ? nullptr : m_hHostWnd), m_width, m_height);
    m_x = place.x;
    m_y = place.y;
    SetWindowPos(m_hWnd, nullptr, m_x, m_y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  }
  if (CPvApp::Instance().GetMainWnd() == nullptr) CPvApp::Instance().SetMainWnd(m_hWnd);
  if (effect == kNoEffect) {
    ShowWindow(m_hWnd, showCommand);
    return;
  }
  m_nOpenEffect = effect;
  // The thread is stopped by closing and by the destructor, so it never
  // outlives the dialog.
  StopShowEffect();
  // Claimed here, not on the worker: from the moment Show returns the effect
  // counts as running, so no caller sees it idle before the worker starts.
  if (!ClaimEffect()) return;
  m_showEffectThread.Reset(CPvThread::Instance().StartThread(ShowEffectThread, this, 0));
  if (!m_showEffectThread) m_bEffectRunning = false;
}

unsigned __stdcall CPvDlg::ShowEffectThread(void* dialog) {
  auto* self = static_cast<CPvDlg*>(dialog);
  self->PlayClaimedEffect(self->m_nOpenEffect);
  return 0;
}

void CPvDlg::StopShowEffect() {
  // Taken out first: a message pumped below may close the dialog again.
  UniqueKernelHandle owned(std::move(m_showEffectThread));
  if (!owned) return;
  m_bStopEffect = true;
  SetEvent(m_stepTaken.Get());  // an effect waiting for its step stops now
  // The effect no longer waits for this thread, which need not pump.
  WaitForSingleObject(owned.Get(), INFINITE);
  m_effectPicture.Reset();
  m_bStopEffect = false;
}

int CPvDlg::RunModal(int effect, bool disableOwner, bool centre) {
  HWND owner = disableOwner ? m_hHostWnd : nullptr;
  if (owner != nullptr) EnableWindow(owner, FALSE);
  // Cleared first: an effect on a worker may end the dialog at once.
  m_bClosed = false;
  Show(effect, centre, SW_SHOW);
  MSG msg;
  while (!m_bClosed) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) CPvApp::Instance().ExitApp();
    if (got < 0) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Closed from another thread, the show effect may still have shown the
  // window again after EndDialog hid it.
  StopShowEffect();
  ShowWindow(m_hWnd, SW_HIDE);
  if (owner != nullptr) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
    SendMessageW(owner, WM_MOUSEMOVE, 0, 0);
  }
  return m_nResult;
}

void CPvDlg::Close(int result) {
  m_nResult = result;
  EndDialog();
}

void CPvDlg::EndDialog() {
  if (GetWindowThreadProcessId(m_hWnd, nullptr) == GetCurrentThreadId()) StopShowEffect();
  ShowWindow(m_hWnd, SW_HIDE);
  m_bClosed = true;
  // Resets hover states; the posted message wakes a modal loop that waits in
  // GetMessageW when another thread closes the dialog (a sent message alone
  // would not make it return).
  SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, 0);
  PostMessageW(m_hWnd, WM_NULL, 0, 0);
}
