// The uninstaller's one window: asks whether to uninstall the product named
// in the install record, then shows the removal's progress until the program
// deletes itself.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "PvButton.h"
#include "PvDlg.h"
#include "PvUninstaller.h"

class CMainDlg : public CPvDlg {
 public:
  enum View { kConfirmView = 0, kUninstallingView = 1 };

  // Reads the product name from the install record's header beside the
  // program; it stays empty when the record cannot be read.
  CMainDlg();
  ~CMainDlg() override;

  void OnInit() override;
  LRESULT WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void DrawBackground(HDC hdc, int left, int top, int right, int bottom) override;
  void DrawContent(HDC hdc) override;

  // Click handlers of the two buttons; `context` is the dialog.
  static void OnCancel(void* context);
  static void OnUninstall(void* context);

  // Moves the bar towards the worker's percent, then deletes the program.
  // Runs detached: the dialog lives until the process ends, which is the
  // only way out of the uninstalling view.
  static unsigned __stdcall ProgressThread(void* dialog);

  const std::wstring& ProductName() const { return m_strProductName; }

 private:
  // A percent from the worker; 100 means it is done.
  void OnProgress(WPARAM percent);
  void DrawQuestion(HDC hdc);
  void DrawProgress(HDC hdc);

  std::unique_ptr<CPvButton> m_pBtnCancel;
  std::unique_ptr<CPvButton> m_pBtnUninstall;
  CPvUninstaller m_uninstaller;
  int m_nState = kConfirmView;
  // Shared with ProgressThread; each is written by one side only.
  std::atomic<int> m_nTarget{0};  // last percent from the worker (UI thread)
  std::atomic<int> m_nShown{0};   // percent drawn, a multiple of 10 (progress thread)
  int m_nBob = 0;                 // the eraser's height, 0 or 30 (UI thread)
  std::atomic<bool> m_bCancel{false};
  std::atomic<bool> m_bDone{false};  // a 100 arrived
  std::wstring m_strProductName;
};
