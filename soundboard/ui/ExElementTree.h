// ExElementTree: the element tree of one host window and the pointer and
// keyboard state that refers into it. It alone links, unlinks and walks the
// window's elements, and it alone holds which element is hovered, pressed
// and focused and whether the window holds the mouse capture. Every change
// of that state is one operation here that does the whole clean-up: the
// leave and focus messages, the host callbacks, the tooltip and the capture.
//
// The host owns the tree; elements and the host's input routing ask it. All
// calls belong to the UI thread that owns the window.
#pragma once

#include "ExElement.h"
#include "ExHostEvents.h"
#include "ExTooltip.h"
#include "ExTreeLinks.h"

class ExElementTree {
 public:
  ExElementTree(ExHostEvents& events, ExTooltip& tooltip) : m_events(events), m_tooltip(tooltip) {}
  ExElementTree(const ExElementTree&) = delete;
  ExElementTree& operator=(const ExElementTree&) = delete;

  void SetWindow(HWND window) { m_window = window; }

  // ---- links and walks ----
  ExElement* First() const { return static_cast<ExElement*>(m_links.First()); }
  ExElement* Last() const { return static_cast<ExElement*>(m_links.Last()); }
  // At the tail of `parent`'s children (nullptr: the window's chain).
  void Link(ExElement& element, ExElement* parent) { m_links.LinkAtTail(element, parent); }
  void Unlink(ExElement& element) { m_links.Unlink(element); }
  // False, changing nothing, when `parent` lies within the element.
  bool MoveUnder(ExElement& element, ExElement* parent) { return m_links.MoveUnder(element, parent); }
  void BringToFront(ExElement& element) { m_links.MoveToTail(element); }
  void SendToBack(ExElement& element) { m_links.MoveToHead(element); }
  // The deepest visible, enabled element at (x, y), or nullptr.
  ExElement* HitTest(double x, double y) const;
  // The element Tab moves the focus to from `current`, or nullptr.
  ExElement* NextInTabOrder(ExElement* current) const;

  // ---- hover, press, focus and capture ----
  ExHandle Hovered() const { return m_hovered; }
  ExHandle Focused() const { return m_focused; }
  ExHandle Pressed() const { return m_pressed; }
  bool FocusedByKeyboard(ExHandle element) const { return element != 0 && element == m_focused && m_byKeyboard; }

  // The pointer is over `hit` (0: over no element): the old element gets
  // EXM_MOUSELEAVE and kLeave, the new one EXM_MOUSEENTER and kEnter, and the
  // tooltip follows.
  void SetHover(ExHandle hit);
  // Shows the hovered element's tip again, when `element` is the hovered one.
  void RefreshTooltip(ExHandle element);
  // Moves the focus (0: none): EXM_KILLFOCUS and kFocusLost to the old
  // element, EXM_SETFOCUS and kFocusGained to the new one.
  void SetFocus(ExHandle element, bool byKeyboard);
  // A left press on `element` starts: mouse input belongs to it and the
  // window takes the capture until EndPress.
  void StartPress(ExHandle element);
  // Ends the press, if any, and gives back the capture; the pressed element
  // counts as the hovered one, so a SetHover afterwards sends it its leave.
  // Returns the element that was pressed.
  ExHandle EndPress();
  // Gives back the mouse capture when this window holds it.
  void DropCapture();

  // The element, or one of its children, stops taking input (disabled or
  // hidden): whatever state refers into its subtree is given up with its
  // whole clean-up. The press ends, the pointer counts as over no element,
  // and the focus goes nowhere.
  void Release(ExElement& element);
  // The element is being destroyed: the state that refers to it is dropped
  // without messages (the element has had EXM_DESTROY), the tooltip and the
  // capture with it.
  void Forget(ExElement& element);
  // At teardown: no element is left to send anything to.
  void Clear();

  // Dispatches to a live element of this tree; 0 for any other handle.
  LRESULT SendTo(ExHandle element, UINT message, WPARAM wParam, LPARAM lParam) const;
  ExElement* Find(ExHandle element) const;

 private:
  bool InSubtree(ExHandle handle, const ExElement& root) const;

  ExHostEvents& m_events;
  ExTooltip& m_tooltip;
  ExTreeLinks m_links;
  HWND m_window = nullptr;
  ExHandle m_hovered = 0;
  ExHandle m_focused = 0;
  ExHandle m_pressed = 0;
  bool m_byKeyboard = false;
};
