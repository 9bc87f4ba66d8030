// The main window's chrome: title label, the three title-bar buttons
// (close, hide to the notification area, top-most toggle), the
// notification-area icon and its menu. Everything runs on the UI thread.
#pragma once

#include <windows.h>

#include "ExImageButton.h"
#include "ExLabel.h"
#include "ExPopupMenu.h"
#include "Handles.h"

class WindowChrome {
 public:
  WindowChrome();
  ~WindowChrome();
  WindowChrome(const WindowChrome&) = delete;
  WindowChrome& operator=(const WindowChrome&) = delete;

  // Puts the program's icon in the notification area for `window`, which
  // receives its events as kMsgTrayIcon.
  void AddTrayIcon(HWND window);
  // Takes the icon away again; does nothing when it is not there.
  void RemoveTrayIcon();
  // Title label and title-bar buttons for a window `width` pixels wide.
  void Create(HWND window, int width);
  // kMsgTrayIcon: `mouseMessage` is the icon's mouse message.
  void OnTrayIcon(UINT mouseMessage);
  // The shell announces a rebuilt notification area with a registered
  // message; true when `message` is that one (the icon is then put back).
  bool OnShellRestart(UINT message);

  // Brings the window back: centred when it is already visible (perhaps
  // behind others), where it was when it had been hidden.
  void ShowMainWindow();

 private:
  void CreateTitleButton(ExImageButton& button, int x, int width, int strip, int frameStep, const char* text);
  void OnClick(ExHandle button);
  void ToggleTopmost();
  void OpenTrayMenu();
  bool ShowTrayIcon();

  HWND m_window = nullptr;
  HWND m_trayWindow = nullptr;  // the window the icon reports to; nullptr when removed
  const UINT m_taskbarCreated;
  UniqueIcon m_trayIcon;
  bool m_menuOpen = false;
  ExPopupMenu m_trayMenu;
  ExLabel m_title;
  ExImageButton m_close;
  ExImageButton m_minimise;
  ExImageButton m_topmost;
};
