#include "PvBase.h"

#include "PvApp.h"
#include "PvDC.h"
#include "PvFont.h"

CPvBase::CPvBase(const tagPvControlOptions& options)
    : m_hFont(CPvFont::Instance().GetDefaultFont()),
      m_nStateCount(options.stateCount),
      m_bPassThrough(options.passThrough) {}

void CPvBase::AttachTo(const tagPvHost& host) {
  m_hHostWnd = host.window;
  m_hBackgroundDC = host.background;
  m_hCompositeDC = host.composite;
  m_bLayered = host.layered;
}

bool CPvBase::HoldsPoint(int x, int y) const {
  return m_bVisible && !m_bPassThrough && m_x <= x && x <= m_x + m_width && m_y <= y && y <= m_y + m_height;
}

void CPvBase::Draw(HDC, int, int) {}

bool CPvBase::OnMouse(int, int, int, void*) {
  return false;
}

HWND CPvBase::HostWindow() const {
  return m_hHostWnd != nullptr ? m_hHostWnd : CPvApp::Instance().GetMainWnd();
}

bool CPvBase::IsInsideHost() const {
  RECT host = {};
  if (!m_bVisible || !GetWindowRect(HostWindow(), &host)) return false;
  const int left = m_x - m_offsetX;
  const int top = m_y - m_offsetY;
  return left <= host.right - host.left && left + m_width >= 0 && top <= host.bottom - host.top && top + m_height >= 0;
}

void CPvBase::Refresh(bool toComposite) {
  if (!IsInsideHost()) return;
  HWND host = HostWindow();
  WindowDc screen(host);
  if (screen.Get() == nullptr) return;
  if (m_bLayered) {
    RECT window = {};
    GetWindowRect(host, &window);
    const RECT whole = {0, 0, window.right - window.left, window.bottom - window.top};
    CPvDC frame(screen.Get(), whole, false, true, host);
    if (m_hCompositeDC != nullptr) BitBlt(frame, 0, 0, whole.right, whole.bottom, m_hCompositeDC, 0, 0, SRCCOPY);
    if (m_hBackgroundDC != nullptr) BitBlt(frame, m_x, m_y, m_width, m_height, m_hBackgroundDC, m_x, m_y, SRCCOPY);
    Draw(frame, m_x, m_y);
    if (m_hCompositeDC != nullptr) BitBlt(m_hCompositeDC, m_x, m_y, m_width, m_height, frame, m_x, m_y, SRCCOPY);
    frame.Draw();
    return;
  }
  const int left = m_x - m_offsetX;
  const int top = m_y - m_offsetY;
  const RECT area = {left, top, left + m_width, top + m_height};
  CPvDC control(screen.Get(), area, false, false, host);
  if (m_hBackgroundDC != nullptr) BitBlt(control, 0, 0, m_width, m_height, m_hBackgroundDC, left, top, SRCCOPY);
  Draw(control, 0, 0);
  if (toComposite && m_hCompositeDC != nullptr) {
    BitBlt(m_hCompositeDC, m_x, m_y, m_width, m_height, control, 0, 0, SRCCOPY);
  }
  control.Draw();
}
