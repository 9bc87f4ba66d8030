// Quobly entry point.
#include <windows.h>

#include <memory>

#include "ExFramework.h"
#include "QuoblyApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The application's objects exist before the framework starts and are
  // gone before it shuts down.
  auto app = std::make_unique<QuoblyApp>();
  if (!ExFramework::Startup()) return 1;
  const int exitCode = app->Run();
  app.reset();
  ExFramework::Shutdown();
  return exitCode;
}
