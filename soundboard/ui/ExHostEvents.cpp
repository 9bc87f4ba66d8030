#include "ExHostEvents.h"

#include "ExElement.h"

void ExHostEvents::Set(ExHostEvent event, ExHostCallback callback) {
  if (event >= ExHostEvent::kCount) return;
  m_callbacks[static_cast<int>(event)] = std::move(callback);
}

void ExHostEvents::Clear() {
  for (auto& callback : m_callbacks) callback = nullptr;
}

void ExHostEvents::Notify(ExHostEvent event, ExHandle element, WPARAM wParam, LPARAM lParam) const {
  const ExHostCallback callback = m_callbacks[static_cast<int>(event)];  // may be replaced while it runs
  if (!callback) return;
  ExElement* target = ExElement::FromHandle(element);
  callback(m_window, element, wParam, lParam, target != nullptr ? target->TypeCode() : 0);
}
