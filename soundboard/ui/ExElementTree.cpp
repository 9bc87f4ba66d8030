#include "ExElementTree.h"

#include "ExTabOrder.h"

namespace {

// The Tab order walks the tree through this view.
struct TabView {
  const ExElementTree& tree;
  ExElement* First() const { return tree.First(); }
  ExElement* FirstChild(ExElement* node) const { return node->FirstChild(); }
  ExElement* Next(ExElement* node) const { return node->NextSibling(); }
  ExElement* Parent(ExElement* node) const { return node->ParentElement(); }
  bool Enterable(ExElement* node) const { return node->Visible() && !node->Disabled(); }
  bool Focusable(ExElement* node) const {
    return Enterable(node) && node->Interactive() && node->TypeCode() != kExTypeSkippedByTab;
  }
};

}  // namespace

ExElement* ExElementTree::HitTest(double x, double y) const {
  ExTreeNode* hit = m_links.Hit([x, y](const ExTreeNode& node) {
    const auto& element = static_cast<const ExElement&>(node);
    return element.Visible() && !element.Disabled() && RectContains(element.Rect(), x, y);
  });
  return static_cast<ExElement*>(hit);
}

ExElement* ExElementTree::NextInTabOrder(ExElement* current) const {
  return ::NextInTabOrder(TabView{*this}, current);
}

ExElement* ExElementTree::Find(ExHandle handle) const {
  // One tree per host window: an element of this tree lives in its window.
  ExElement* element = ExElement::FromHandle(handle);
  return element != nullptr && m_window != nullptr && element->Window() == m_window ? element : nullptr;
}

LRESULT ExElementTree::SendTo(ExHandle handle, UINT message, WPARAM wParam, LPARAM lParam) const {
  ExElement* element = Find(handle);
  return element != nullptr ? element->Dispatch(message, wParam, lParam) : 0;
}

void ExElementTree::SetHover(ExHandle hit) {
  const ExHandle previous = m_hovered;
  if (previous == hit) return;
  m_hovered = hit;
  if (previous != 0) {
    SendTo(previous, EXM_MOUSELEAVE, 0, static_cast<LPARAM>(hit));
    m_events.Notify(ExHostEvent::kLeave, previous, 0, static_cast<LPARAM>(hit));
  }
  if (hit != 0) {
    SendTo(hit, EXM_MOUSEENTER, 0, static_cast<LPARAM>(previous));
    m_events.Notify(ExHostEvent::kEnter, hit, 0, static_cast<LPARAM>(previous));
  }
  if (m_hovered == hit) RefreshTooltip(hit);  // unless a handler moved the pointer on meanwhile
}

void ExElementTree::RefreshTooltip(ExHandle element) {
  if (element != m_hovered) return;
  const ExElement* target = Find(element);
  if (target == nullptr) {
    m_tooltip.Hide();
    return;
  }
  m_tooltip.Show(PixelBounds(target->Rect()), target->TooltipText());
}

void ExElementTree::SetFocus(ExHandle element, bool byKeyboard) {
  const ExHandle previous = m_focused;
  if (previous == element) return;
  m_focused = element;
  m_byKeyboard = false;
  if (previous != 0) {
    SendTo(previous, EXM_KILLFOCUS, 0, static_cast<LPARAM>(element));
    m_events.Notify(ExHostEvent::kFocusLost, previous, 0, static_cast<LPARAM>(element));
  }
  if (Find(element) != nullptr) {
    m_byKeyboard = byKeyboard;
    SendTo(element, EXM_SETFOCUS, 0, static_cast<LPARAM>(previous));
    m_events.Notify(ExHostEvent::kFocusGained, element, 0, static_cast<LPARAM>(previous));
  }
}

void ExElementTree::StartPress(ExHandle element) {
  m_pressed = element;
  ::SetCapture(m_window);
}

ExHandle ExElementTree::EndPress() {
  const ExHandle pressed = m_pressed;
  if (pressed == 0) return 0;
  m_pressed = 0;
  m_hovered = pressed;
  DropCapture();
  return pressed;
}

void ExElementTree::DropCapture() {
  if (m_window != nullptr && GetCapture() == m_window) ReleaseCapture();
}

bool ExElementTree::InSubtree(ExHandle handle, const ExElement& root) const {
  const ExElement* element = Find(handle);
  return element != nullptr && element->IsWithin(&root);
}

void ExElementTree::Release(ExElement& element) {
  if (InSubtree(m_pressed, element)) EndPress();
  if (InSubtree(m_hovered, element)) SetHover(0);
  if (InSubtree(m_focused, element)) SetFocus(0, false);
}

void ExElementTree::Forget(ExElement& element) {
  const ExHandle handle = element.Handle();
  if (m_hovered == handle) {
    m_hovered = 0;
    m_tooltip.Hide();
  }
  if (m_focused == handle) {
    m_focused = 0;
    m_byKeyboard = false;
  }
  if (m_pressed == handle) {
    m_pressed = 0;
    DropCapture();
  }
}

void ExElementTree::Clear() {
  m_hovered = m_focused = m_pressed = 0;
  m_byKeyboard = false;
}
