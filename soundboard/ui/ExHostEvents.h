// The application's callbacks for what happens to a host window's elements:
// presses, clicks, hover and focus changes. The element tree and the input
// router report through this table; the host owns it. UI thread only.
#pragma once

#include <functional>

#include "Handles.h"
#include "ExMessages.h"

// The host's element callbacks, in the order of its callback table.
enum class ExHostEvent {
  kPress,
  kRelease,
  kClick,
  kDoubleClick,
  kRightPress,
  kRightRelease,
  kEnter,
  kLeave,
  kFocusGained,
  kFocusLost,
  kMouseMove,  // every mouse move that reaches an element
  kCount
};

using ExHostCallback = std::function<void(HWND window, ExHandle element, WPARAM, LPARAM, int typeCode)>;

class ExHostEvents {
 public:
  void SetWindow(HWND window) { m_window = window; }
  void Set(ExHostEvent event, ExHostCallback callback);
  void Clear();
  // Calls the event's callback, if any, with the element's type code.
  void Notify(ExHostEvent event, ExHandle element, WPARAM wParam, LPARAM lParam) const;

 private:
  HWND m_window = nullptr;
  ExHostCallback m_callbacks[static_cast<int>(ExHostEvent::kCount)];
};
