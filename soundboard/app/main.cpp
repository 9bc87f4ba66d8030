// Quobly entry point.
#include <windows.h>

#include <memory>

#include "ExFramework.h"
#include "QuoblyApp.h"
#include "SingleInstance.h"

namespace {

// How long a second start waits for the running copy's window, which may
// still be scanning its sound folders.
constexpr DWORD kRunningWindowWaitMs = 10000;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SingleInstance instance;
  if (!instance.Claim()) return SingleInstance::ShowRunning(kRunningWindowWaitMs) ? 0 : 1;
  // The application's objects exist before the framework starts and are
  // gone before it shuts down.
  auto app = std::make_unique<QuoblyApp>();
  if (!ExFramework::Startup()) return 1;
  const int exitCode = app->Run();
  app.reset();
  ExFramework::Shutdown();
  return exitCode;
}
