// What the soundboard costs while it waits: the application runs in this
// process, as Quobly.exe runs it (from this folder, beside bass.dll), shows
// its window and plays nothing. A watcher thread reads the process's CPU time
// (GetProcessTimes) when start-up has settled and again after the measuring
// period (default 60 s, or the first argument in seconds), then closes the
// window. Nothing polls while idle, so the figure should be nothing
// measurable. (Measured in-process: Wine reports another process's times
// only in part.)
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "ExFramework.h"
#include "QuoblyApp.h"

namespace {

// User plus kernel time of this process so far, in milliseconds.
double CpuMs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  const auto ms = [](const FILETIME& time) {
    return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

HWND FindQuoblyWindow() {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, ExFramework::kWindowClass, L"Quobly")) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId() && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  auto app = std::make_unique<QuoblyApp>();
  if (!ExFramework::Startup()) return 1;

  // The watcher only reads times and posts to the window; it is joined
  // before the application object goes.
  std::atomic<bool> shown{false};
  std::thread watcher([&] {
    HWND window = nullptr;
    for (int tries = 0; tries < 1000 && window == nullptr; ++tries, Sleep(20)) window = FindQuoblyWindow();
    if (window == nullptr) return;
    shown = true;
    Sleep(3000);  // past the opening animation and the device list
    const double startUp = CpuMs();
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double idle = CpuMs() - startUp;
    std::printf("idle_cpu: start-up %.0f ms of CPU; then %.1f ms over %d s with the window shown (%.3f %% of a core)\n",
                startUp, idle, seconds, idle / (seconds * 10.0));
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  app->Run();
  watcher.join();
  app.reset();
  ExFramework::Shutdown();
  if (!shown) std::printf("idle_cpu: the window did not show\n");
  return shown ? 0 : 1;
}
