// The main window's chrome: title label, the three title-bar buttons
// (close, minimise to the notification area, top-most toggle), the
// notification-area icon and its menu.
#pragma once

#include <windows.h>

class WindowChrome {
 public:
  WindowChrome() = default;
  ~WindowChrome();
  WindowChrome(const WindowChrome&) = delete;
  WindowChrome& operator=(const WindowChrome&) = delete;

  void AddTrayIcon(HWND window);
  void RemoveTrayIcon();
  // Title label and title-bar buttons for a window `width` pixels wide.
  void Create(HWND window, int width);
  // kMsgTrayIcon: `mouseMessage` is the icon's mouse message.
  void OnTrayIcon(UINT mouseMessage);

 private:
  HWND m_window = nullptr;
};
