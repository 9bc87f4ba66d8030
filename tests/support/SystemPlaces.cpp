#include "SystemPlaces.h"

#include <shellapi.h>

std::wstring ShellFolder(BOOL (*lookUp)(wchar_t*)) {
  wchar_t path[MAX_PATH] = {};
  lookUp(path);
  return path;
}

bool TrayIconPresent(HWND window, UINT id) {
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = id;
  icon.uFlags = NIF_TIP;
  lstrcpyW(icon.szTip, L"Quobly");
  return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}
