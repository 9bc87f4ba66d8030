// Driving popups that wait in nested message loops: steps run on a thread
// timer of the UI thread while the loop dispatches, and a last step closes
// every popup left open, so a failing test ends instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ExPopup.h"
#include "FrameworkFixture.h"

inline HWND FindPopup(const wchar_t* title) {
  return FindWindowW(L"Ex_LayerUI", title);
}
inline HWND FindDropDown() {
  return FindPopup(L"Ex_LayerUI_Combox");
}
inline HWND FindMenu() {
  return FindPopup(L"Ex_LayerUI_Menu");
}

inline BOOL CALLBACK CountPopup(HWND window, LPARAM counter) {
  if (PopupKindOf(window) != ExPopupKind::kNone) ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

// Framework popup windows of this thread that are still alive.
inline int PopupWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountPopup, reinterpret_cast<LPARAM>(&count));
  return count;
}

class PopupSteps {
 public:
  explicit PopupSteps(UINT periodMs = 60) : m_periodMs(periodMs) {}
  ~PopupSteps() { Stop(); }
  PopupSteps(const PopupSteps&) = delete;
  PopupSteps& operator=(const PopupSteps&) = delete;

  PopupSteps& Then(std::function<void()> step) {
    m_steps.push_back(std::move(step));
    return *this;
  }

  void Start() {
    Current() = this;
    m_next = 0;
    m_timer = SetTimer(nullptr, 0, m_periodMs, &PopupSteps::Tick);
  }
  void Stop() {
    if (m_timer != 0) KillTimer(nullptr, m_timer);
    m_timer = 0;
    if (Current() == this) Current() = nullptr;
  }
  bool Finished() const { return m_next >= m_steps.size(); }
  // Whether popups were still open after the last step and had to be destroyed.
  bool ForcedClose() const { return m_forcedClose; }

 private:
  static PopupSteps*& Current() {
    static PopupSteps* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    PopupSteps* self = Current();
    if (self == nullptr) return;
    if (self->m_next < self->m_steps.size()) {
      const auto step = self->m_steps[self->m_next++];
      step();
      return;
    }
    // The script is done: whatever is still open would hang the test.
    for (HWND popup = FindDropDown(); popup != nullptr; popup = FindDropDown()) {
      self->m_forcedClose = true;
      DestroyWindow(popup);
    }
    for (HWND popup = FindMenu(); popup != nullptr; popup = FindMenu()) {
      self->m_forcedClose = true;
      DestroyWindow(popup);
    }
  }

  UINT m_periodMs;
  UINT_PTR m_timer = 0;
  std::vector<std::function<void()>> m_steps;
  size_t m_next = 0;
  bool m_forcedClose = false;
};

// A left click in client coordinates of `window`, as the mouse would send it.
inline void ClickAt(HWND window, int x, int y) {
  SendMouseMove(window, x, y);
  SendClick(window, x, y);
}

inline void PressKey(HWND window, WPARAM key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
}

// A shown, active host window: popups open from it and give activation back.
class PopupFixture : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    AttachHost();
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
  }
};
