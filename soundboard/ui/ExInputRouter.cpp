#include "ExInputRouter.h"

#include <windowsx.h>

#include "ExGeometry.h"
#include "ExStyleFlags.h"

namespace {

constexpr int kCaptionHeight = 30;  // a double click above this line maximises

// System cursor identifiers (IDC_SIZE...) of the resize zones.
int EdgeCursorId(ExEdge edge) {
  switch (edge) {
    case ExEdge::kLeft:
    case ExEdge::kRight:
      return 32644;
    case ExEdge::kTop:
    case ExEdge::kBottom:
      return 32645;
    case ExEdge::kTopLeft:
    case ExEdge::kBottomRight:
      return 32642;
    default:
      return 32643;
  }
}

}  // namespace

void ExInputRouter::Reset() {
  m_trackingLeave = false;
  m_edgeCursor = nullptr;
  m_captionElement = 0;
}

void ExInputRouter::TrackLeave() {
  TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_state.window, 0};
  m_trackingLeave = TrackMouseEvent(&track) != FALSE;
}

// ---- mouse -----------------------------------------------------------------

void ExInputRouter::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_state.busy) return;
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  if (message == WM_MOUSEMOVE && !m_trackingLeave) TrackLeave();
  if ((message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN) && OnEdge(message, x, y)) return;
  if (m_tree.Pressed() != 0) {
    OnPressedMouse(message, wParam, lParam);
    return;
  }
  ExElement* hitElement = m_tree.HitTest(x, y);
  const ExHandle hit = hitElement != nullptr ? hitElement->Handle() : 0;
  m_tree.SetHover(hit);
  switch (message) {
    case WM_LBUTTONDOWN:
      OnLeftPress(hit, wParam, lParam);
      break;
    case WM_RBUTTONDOWN:
      if (hit != 0) m_events.Notify(ExHostEvent::kRightPress, hit, wParam, lParam);
      break;
    case WM_RBUTTONUP:
      if (hit != 0) m_events.Notify(ExHostEvent::kRightRelease, hit, wParam, lParam);
      break;
    case WM_MOUSEMOVE:
      if (hit != 0) m_events.Notify(ExHostEvent::kMouseMove, hit, wParam, lParam);
      break;
    default:
      break;
  }
  if (hit != 0) m_tree.SendTo(hit, message, wParam, lParam);
}

bool ExInputRouter::OnEdge(UINT message, int x, int y) {
  m_edgeCursor = nullptr;
  if (!m_resizable || m_tree.Pressed() != 0 || IsZoomed(m_state.window)) return false;
  const ExEdge edge = EdgeAt(x, y, m_state.size.width, m_state.size.height);
  if (edge == ExEdge::kNone) return false;
  m_tree.SetHover(0);
  m_edgeCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(EdgeCursorId(edge)));
  ::SetCursor(m_edgeCursor);
  if (message == WM_LBUTTONDOWN) {
    SendMessageW(m_state.window, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(edge),
                 static_cast<LPARAM>(GetMessagePos()));
  }
  return true;
}

void ExInputRouter::OnLeftPress(ExHandle hit, WPARAM wParam, LPARAM lParam) {
  ::SetFocus(m_state.window);
  ExElement* element = ExElement::FromHandle(hit);
  const bool takesPress =
      element != nullptr && (element->Interactive() || element->Dispatch(EXM_WANTPRESS, 0, 0) != kExUndecided);
  if (takesPress) {
    m_events.Notify(ExHostEvent::kPress, hit, wParam, lParam);
    m_tree.StartPress(hit);
    element = ExElement::FromHandle(hit);
    if (element != nullptr && element->Interactive() && m_tree.Focused() != hit) m_tree.SetFocus(hit, false);
    if (wParam == EXM_DBLCLK_MARK) m_events.Notify(ExHostEvent::kDoubleClick, hit, wParam, lParam);
    return;
  }
  // The background, or an element that takes no press (a label over the
  // caption): the press belongs to the window.
  const bool onCaption = GET_Y_LPARAM(lParam) < kCaptionHeight || (m_captionElement != 0 && hit == m_captionElement);
  if (wParam == EXM_DBLCLK_MARK && onCaption && (m_state.styleFlags & kExMaximiseButton)) {
    PostMessageW(m_state.window, WM_SYSCOMMAND, IsZoomed(m_state.window) ? SC_RESTORE : SC_MAXIMIZE, 0);
  } else if (m_dragAnywhere) {
    SendMessageW(m_state.window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
}

void ExInputRouter::OnPressedMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const ExHandle pressed = m_tree.Pressed();
  if (message != WM_LBUTTONUP) {
    m_tree.SendTo(pressed, message, wParam, lParam);
    return;
  }
  m_tree.EndPress();
  m_events.Notify(ExHostEvent::kRelease, pressed, wParam, lParam);
  m_tree.SendTo(pressed, WM_LBUTTONUP, wParam, lParam);
  ExElement* hitElement = m_tree.HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const ExHandle hit = hitElement != nullptr ? hitElement->Handle() : 0;
  if (hit == pressed) {
    Click(pressed, 0, lParam);
    return;
  }
  // Released elsewhere: no click; the pointer has left the pressed element.
  m_tree.SetHover(hit);
}

void ExInputRouter::OnMouseLeave() {
  m_trackingLeave = false;
  m_tree.DropCapture();
  m_tree.SetHover(0);
}

void ExInputRouter::OnCaptureChanged(HWND newCapture) {
  if (m_tree.Pressed() == 0 || newCapture == m_state.window) return;
  // Capture taken away mid-press (another window, a menu): the release will
  // not come, so the press ends here without a click.
  m_tree.EndPress();
  m_tree.SetHover(0);
}

void ExInputRouter::Click(ExHandle element, WPARAM wParam, LPARAM lParam) {
  m_tree.SendTo(element, EXM_CLICK, wParam, lParam);
  m_events.Notify(ExHostEvent::kClick, element, wParam, lParam);
}

void ExInputRouter::OnActivate(bool active) {
  if (active) {
    TrackLeave();
    if (m_tree.Focused() != 0) m_tree.SendTo(m_tree.Focused(), EXM_SETFOCUS, 0, 0);
    return;
  }
  m_tree.SetHover(0);
  if (m_tree.Focused() != 0) m_tree.SendTo(m_tree.Focused(), EXM_KILLFOCUS, 0, 0);
  m_tree.DropCapture();
}

// ---- keyboard --------------------------------------------------------------

LRESULT ExInputRouter::ForwardToFocused(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_tree.Focused() != 0 ? m_tree.SendTo(m_tree.Focused(), message, wParam, lParam) : 0;
}

bool ExInputRouter::OnKeyDown(WPARAM wParam, LPARAM lParam) {
  const ExHandle focused = m_tree.Focused();
  if (focused != 0 && m_tree.SendTo(focused, WM_KEYDOWN, wParam, lParam) != kExUndecided) return true;
  if (wParam == VK_TAB) {
    ExElement* next = m_tree.NextInTabOrder(ExElement::FromHandle(m_tree.Focused()));
    if (next != nullptr) m_tree.SetFocus(next->Handle(), true);
    return true;
  }
  if (wParam == VK_RETURN || wParam == VK_SPACE) {
    ExElement* element = ExElement::FromHandle(focused);
    if (element != nullptr && element->Visible() && !element->Disabled()) {
      Click(focused, 0, 0);
      return true;
    }
  }
  return false;
}

bool ExInputRouter::OnSysChar(WPARAM wParam, LPARAM lParam) {
  if (ForwardToFocused(WM_SYSCHAR, wParam, lParam) != 0) return true;
  const ExHandle element = m_accessKeys.Find(static_cast<wchar_t>(wParam));
  if (element == 0) return false;
  Click(element, 0, 0);
  return true;
}
