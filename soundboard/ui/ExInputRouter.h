// ExInputRouter: where a host window's mouse and keyboard input goes. The
// mouse goes to the element under it (or, during a left press, to the pressed
// element), to the resize zones along the window's edges, or to the window
// (dragging, maximising on a caption double click); keys go to the focused
// element first, then Tab, Enter, Space and the access keys are the host's.
// The element tree keeps the state; the router decides the changes. The host
// owns it; UI thread only.
#pragma once

#include "ExAccessKeys.h"
#include "ExElementTree.h"
#include "ExHostEvents.h"
#include "ExHostState.h"

class ExInputRouter {
 public:
  ExInputRouter(ExHostState& state, ExElementTree& tree, ExHostEvents& events, ExAccessKeys& accessKeys)
      : m_state(state), m_tree(tree), m_events(events), m_accessKeys(accessKeys) {}
  ExInputRouter(const ExInputRouter&) = delete;
  ExInputRouter& operator=(const ExInputRouter&) = delete;

  void SetResizable(bool resizable) { m_resizable = resizable; }
  void SetDragAnywhere(bool drag) { m_dragAnywhere = drag; }
  // A press on this element counts as one on the caption (the title label).
  void SetCaptionElement(ExHandle element) { m_captionElement = element; }
  void Reset();

  void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMouseLeave();
  void OnCaptureChanged(HWND newCapture);
  void OnActivate(bool active);
  // The cursor of the resize zone under the pointer, or nullptr.
  HCURSOR EdgeCursor() const { return m_edgeCursor; }

  // False when the key is left to the window's own procedure.
  bool OnKeyDown(WPARAM wParam, LPARAM lParam);
  // False when no element took Alt with the character (Alt+Space and friends
  // stay with the system).
  bool OnSysChar(WPARAM wParam, LPARAM lParam);
  LRESULT ForwardToFocused(UINT message, WPARAM wParam, LPARAM lParam);
  void Click(ExHandle element, WPARAM wParam, LPARAM lParam);

 private:
  bool OnEdge(UINT message, int x, int y);
  void OnLeftPress(ExHandle hit, WPARAM wParam, LPARAM lParam);
  void OnPressedMouse(UINT message, WPARAM wParam, LPARAM lParam);
  void TrackLeave();

  ExHostState& m_state;
  ExElementTree& m_tree;
  ExHostEvents& m_events;
  ExAccessKeys& m_accessKeys;
  bool m_resizable = false;
  bool m_dragAnywhere = true;
  ExHandle m_captionElement = 0;
  bool m_trackingLeave = false;
  HCURSOR m_edgeCursor = nullptr;  // a shared system cursor
};
