// A skinned top-level (or child) window: owns its window and the window
// class registered for it, and routes the window's messages to the object.
#pragma once

#include <windows.h>

#include <string>

#include "PvBase.h"

class CPvWin : public CPvBase {
 public:
  CPvWin() = default;
  // Destroys the window and unregisters its class.
  ~CPvWin() override;

  void Paint(HDC) override {}
  // Runs once, after the window first exists.
  virtual void OnInit() {}
  // Runs after every creation.
  virtual void AttachControls() {}
  virtual LRESULT WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Paints the window now (a layered one is asked to repaint itself).
  virtual void Redraw();

  // Creates the window in a class of its own; style 0 is a default (a
  // visible child when `parent` is given, else a popup). A window this object
  // had before is destroyed first. False when the window cannot be created.
  bool Create(DWORD style, int x, int y, int width, int height, DWORD exStyle, bool layered, HWND parent);

  HWND GetHwnd() const { return m_hWnd; }
  bool IsLayered() const { return m_bLayeredWnd; }
  bool IsChild() const { return m_bChild; }
  int m_nIconId = 0;  // large and small icon of the window class; 0 for none

 protected:
  // Maps the window to its object, then lets the object handle the message.
  static LRESULT CALLBACK SharedWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnPaintMessage(HWND wnd);

  HWND m_hWnd = nullptr;
  std::wstring m_strClassName;
  bool m_bLayeredWnd = false;
  bool m_bChild = false;
  bool m_bInitialised = false;

 private:
  void DestroyWindowAndClass();
  bool RegisterOwnClass();
};
