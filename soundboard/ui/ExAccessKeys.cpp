#include "ExAccessKeys.h"

#include <algorithm>
#include <cstdint>

#include "ExElement.h"

void ExAccessKeys::Set(ExHandle element, wchar_t key) {
  auto registered = std::find_if(m_entries.begin(), m_entries.end(),
                                 [element](const Entry& entry) { return entry.element == element; });
  if (key == 0) {
    if (registered != m_entries.end()) m_entries.erase(registered);
  } else if (registered != m_entries.end()) {
    registered->key = key;
  } else {
    m_entries.push_back({element, key});
  }
}

ExHandle ExAccessKeys::Find(wchar_t typed) const {
  const auto upper = [](wchar_t c) { return reinterpret_cast<std::uintptr_t>(CharUpperW(MAKEINTRESOURCEW(c))); };
  for (const Entry& entry : m_entries) {
    ExElement* element = ExElement::FromHandle(entry.element);
    if (element == nullptr || !element->Visible() || element->Disabled()) continue;
    if (upper(entry.key) == upper(typed)) return entry.element;
  }
  return 0;
}
