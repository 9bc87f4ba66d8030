// pvUninstall entry point: limits the DLL search to System32, names the
// application, installs the crash handler, has the program's end wait for
// its reports and runs the main dialog. The process ends from inside the
// loop: cancelled, closed, or once the program has deleted itself.
#include <windows.h>

#include "CrashActions.h"
#include "MainDlg.h"
#include "PvApp.h"
#include "PvDump.h"
#include "PvReport.h"
#include "SystemDllSearch.h"

#ifdef PVUNINSTALL_CRASH_TRIGGER
#include "CrashTrigger.h"
#endif

namespace {

constexpr wchar_t kAppName[] = L"Tesk软件-卸载程序";
constexpr wchar_t kDumpTag[] = L"tk_uninstall_dump";
constexpr int kDialogWidth = 450;
constexpr int kDialogHeight = 230;
constexpr int kSlideInWithBounce = 0;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything here can load a DLL: the program runs elevated from a
  // folder others may write to.
  RestrictDllSearchToSystem32();
  CPvApp& app = CPvApp::Instance();
  app.SetAppName(kAppName);
  InstallDump(kAppName, kDumpTag, UninstallerCrashActions());
  app.SetWorkerWait(WaitForReports);

  // Never destroyed: worker threads use it until the process ends.
  CMainDlg dialog;
  if (!dialog.Create(0, 0, 0, kDialogWidth, kDialogHeight, 0, true, nullptr)) app.ExitApp();
  dialog.Show(kSlideInWithBounce, true, SW_SHOW);
  app.SetMainWnd(dialog.GetHwnd());
#ifdef PVUNINSTALL_CRASH_TRIGGER
  ArmCrashTrigger();
#endif
  app.MsgLoop();
  app.ExitApp();
}
