// Quobly entry point.
#include <windows.h>

namespace {

constexpr char kWindowClass[] = "Ex_LayerUI";
constexpr char kTitle[] = "Quobly";

LRESULT CALLBACK MainWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(wnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);

  HWND wnd = CreateWindowExA(0, kWindowClass, kTitle, WS_POPUP | WS_SYSMENU, 50, 50, 430, 320, nullptr, nullptr,
                             instance, nullptr);
  if (wnd == nullptr) return 1;
  ShowWindow(wnd, showCommand);

  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
