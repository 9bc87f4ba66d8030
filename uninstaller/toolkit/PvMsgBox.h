// The toolkit's modal message box: a skinned dialog with a title, a message,
// a picture, a close button, one or two buttons and an optional countdown
// that presses OK by itself.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "Handles.h"
#include "PvButton.h"
#include "PvCheckBox.h"
#include "PvDlg.h"
#include "PvText.h"

class CPvMsgBox : public CPvDlg {
 public:
  enum Layout { kOkOnly = 0, kOkCancel = 1 };  // any other value: no buttons
  enum Result { kOk = 1, kCancel = 2 };

  CPvMsgBox();
  // Stops the show effect, then ends a countdown that still runs (100 ms
  // grace, then it is terminated), before the controls go.
  ~CPvMsgBox() override;

  // Shows the box modally, centred, with `owner` disabled meanwhile. A null
  // `title` keeps "提示信息". `countdown` seconds (0 or less: none) press OK
  // by themselves. Returns kOk (OK, or the countdown ran out) or kCancel
  // (Cancel, the close button, Alt+F4 or WM_CLOSE, or the box could not be
  // created).
  int ShowMessage(HWND owner, const wchar_t* message, const wchar_t* title, int layout, int countdown, int width,
                  int height, int openEffect, int closeEffect);

  void OnInit() override;
  LRESULT WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void DrawContent(HDC hdc) override;
  // Closes as the close button does, with the close effect.
  void OnClose() override;

  // Read by tests and callers after ShowMessage has set them up.
  const CPvButton& OkButton() const { return m_okButton; }
  int Countdown() const { return m_countdown; }

  HICON m_hWindowIcon;  // shared icon resource: never destroyed
  std::wstring m_strTitle = L"提示信息";
  std::wstring m_strMessage;
  std::wstring m_strCheckText;
  int m_nLayout = kOkOnly;
  int m_nCloseEffect = kNoEffect;
  bool m_bShowCheck = false;
  int m_nPictureId = 0;  // 0: the layout's default picture
  int m_nButtonRowOffset = 0;

 private:
  // Posted by the countdown thread once a second, wParam = seconds left; the
  // caption and the closing are done on the box's own thread.
  static constexpr UINT kCountdownTick = WM_APP + 1;

  static void OnOk(void* context);
  static void OnCancelOrClose(void* context);
  void CloseWithEffect(int result);
  void OnCountdownTick(int secondsLeft);
  static unsigned __stdcall CountdownThread(void* box);

  CPvButton m_closeButton;
  CPvButton m_okButton;
  CPvButton m_cancelButton;
  CPvCheckBox m_checkBox;
  CPvText m_titleLabel;
  std::atomic<int> m_countdown{0};
  // The thread only reads the box's flags and posts to its window, and the
  // destructor ends it before the box goes.
  UniqueKernelHandle m_countdownThread;
};
