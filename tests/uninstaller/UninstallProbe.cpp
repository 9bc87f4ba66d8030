// Runs a whole uninstall from the folder it is started in, the way the
// uninstaller's dialog does, then deletes itself. Exits with 3 when the
// self-deletion batch could not be written.
#include <windows.h>

#include "PvHelpers.h"
#include "PvUninstaller.h"

int main() {
  wchar_t appDir[MAX_PATH + 1];
  GetCurPath(appDir);
  CPvUninstaller engine(appDir);
  engine.StartUninstall(nullptr, 0);
  engine.DeleteSelf();
  return 3;
}
