// The access keys of a host window's controls: Alt with a control's key
// clicks it. The host owns the table; an element's entry goes when the
// element is destroyed. UI thread only.
#pragma once

#include <vector>

#include "ExMessages.h"

class ExAccessKeys {
 public:
  // Key 0 removes the element's key; a second key replaces the first.
  void Set(ExHandle element, wchar_t key);
  void Clear() { m_entries.clear(); }
  // The first visible, enabled element registered with `typed` (letters in
  // either case), or 0.
  ExHandle Find(wchar_t typed) const;

 private:
  struct Entry {
    ExHandle element;
    wchar_t key;
  };
  std::vector<Entry> m_entries;
};
