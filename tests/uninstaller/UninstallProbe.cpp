// Runs a whole uninstall from the folder it is started in, the way the
// uninstaller's dialog does, then deletes itself. Exits with 3 when the
// self-deletion batch could not be written. With QUOBLY_PROBE_REPORT set, it
// first writes the console code page it runs in to that file.
#include <windows.h>

#include <string>

#include "Handles.h"
#include "PvHelpers.h"
#include "PvUninstaller.h"

namespace {

void ReportCodePage() {
  wchar_t report[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"QUOBLY_PROBE_REPORT", report, MAX_PATH) == 0) return;
  const std::string codePage = std::to_string(GetOEMCP());
  UniqueFileHandle file(CreateFileW(report, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), codePage.data(), static_cast<DWORD>(codePage.size()), &written, nullptr);
}

}  // namespace

int main() {
  ReportCodePage();
  wchar_t appDir[MAX_PATH + 1];
  GetCurPath(appDir);
  CPvUninstaller engine(appDir);
  engine.StartUninstall(nullptr, 0);
  engine.DeleteSelf();
  return 3;
}
