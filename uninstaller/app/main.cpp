// pvUninstall entry point.
#include <windows.h>

#include "PvApp.h"

namespace {

constexpr wchar_t kAppName[] = L"Tesk软件-卸载程序";
constexpr wchar_t kMainWindowClass[] = L"pvUninstallMain";

LRESULT CALLBACK MainWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) CPvApp::Instance().ExitApp();
  return DefWindowProcW(wnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  CPvApp& app = CPvApp::Instance();
  app.SetAppName(kAppName);

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassW(&windowClass);

  HWND wnd = CreateWindowExW(0, kMainWindowClass, app.GetAppName(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             480, 320, nullptr, nullptr, instance, nullptr);
  if (wnd == nullptr) app.ExitApp();
  app.SetMainWnd(wnd);
  ShowWindow(wnd, showCommand);
  return app.MsgLoop();
}
