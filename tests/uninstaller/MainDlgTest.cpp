// The main dialog's cancel button after the user moved the window: the slide
// out starts from where the window stands. Cancel ends the process, so the
// dialog runs in a child process that reports the slide's first frame.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "MainDlg.h"
#include "PvApp.h"

namespace {

// Reports where the window stands at the first pause of an effect.
class WatchedMainDlg : public CMainDlg {
 public:
  void PauseEffect(DWORD) override {
    if (m_bReported) return;
    m_bReported = true;
    RECT window = {};
    GetWindowRect(m_hWnd, &window);
    std::fprintf(stderr, "first frame at %ld,%ld\n", window.left, window.top);
    std::fflush(stderr);
  }

 private:
  bool m_bReported = false;
};

void DragThenCancel() {
  CPvApp::Instance().SetAppName(L"MainDlgTest");
  WatchedMainDlg dialog;
  if (!dialog.Create(0, 100, 100, 450, 230, 0, true, nullptr)) return;
  dialog.Show(CPvDlg::kNoEffect, false, SW_SHOW);
  // Where a drag leaves it: the system's move loop moves the window only.
  SetWindowPos(dialog.GetHwnd(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  CMainDlg::OnCancel(&dialog);
}

TEST(MainDlgDeathTest, CancelAfterADragSlidesOutFromTheDraggedPlace) {
  // The slide's first frame moves a fifth of (width + x) to the left:
  // 400 - (450 + 400) / 5 = 230. From the first place it would be -10,100.
  EXPECT_EXIT(DragThenCancel(), testing::ExitedWithCode(0), "first frame at 230,300");
}

}  // namespace
