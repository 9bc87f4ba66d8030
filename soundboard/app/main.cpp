// Quobly entry point.
#include <windows.h>

#include "ExFramework.h"
#include "ExHost.h"
#include "ExStyleFlags.h"

namespace {

constexpr char kTitle[] = "Quobly";
constexpr int kDesignLeft = 50;
constexpr int kDesignTop = 50;
constexpr int kDesignWidth = 430;
constexpr int kDesignHeight = 320;

int RunMessageLoop() {
  MSG msg = {};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (!ExFramework::Startup()) return 1;
  int exitCode = 1;
  {
    ExWindowOptions options;
    options.title = kTitle;
    options.centred = false;
    options.x = kDesignLeft;
    options.y = kDesignTop;
    options.width = kDesignWidth;
    options.height = kDesignHeight;
    HWND window = ExCreateWindow(options);
    ExHost host;
    ExAttachOptions attach;
    attach.imageMode = ExImageMode::kStretch;
    attach.styleFlags = kExAttached;  // the soundboard draws its own chrome
    attach.backgroundColour = RGB(40, 44, 52);
    if (window != nullptr && host.Attach(window, nullptr, 0, attach)) {
      host.SetMessageHook([](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return kExUndecided;
      });
      host.Show(kExZoomIn);
      exitCode = RunMessageLoop();
    } else if (window != nullptr) {
      DestroyWindow(window);
    }
  }
  ExFramework::Shutdown();
  return exitCode;
}
