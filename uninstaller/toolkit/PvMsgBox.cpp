#include "PvMsgBox.h"

#include <cwchar>

#include "PvApp.h"
#include "PvFont.h"
#include "PvImage.h"
#include "PvThread.h"

namespace {

constexpr int kIconId = 107;
constexpr DWORD kBoxStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// The close button's pictures by state: plain, hover, pressed.
constexpr int kCloseImage = 60006;
constexpr int kButtonImage = 60001;
constexpr int kOkPicture = 60056;
constexpr int kOkCancelPicture = 60057;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 25;
constexpr int kCountdownThreadGraceMs = 100;

// The close button has pictures for normal, hover and pressed.
tagPvControlOptions CloseButtonOptions() {
  tagPvControlOptions options;
  options.stateCount = 3;
  return options;
}

}  // namespace

CPvMsgBox::CPvMsgBox()
    : m_hWindowIcon(LoadIconW(CPvApp::Instance().GetInstance(), MAKEINTRESOURCEW(kIconId))),
      m_closeButton(CloseButtonOptions()) {
  m_nCaptionHeight = 30;
  m_nIconId = kIconId;
}

CPvMsgBox::~CPvMsgBox() {
  // The controls are members and go before the base dialog: nothing may draw
  // them or post to the box once this body is done.
  StopShowEffect();
  CPvThread::Instance().ExitThread(m_countdownThread.Release(), kCountdownThreadGraceMs);
  m_controls.clear();
}

int CPvMsgBox::ShowMessage(HWND owner, const wchar_t* message, const wchar_t* title, int layout, int countdown,
                           int width, int height, int openEffect, int closeEffect) {
  m_strMessage = message != nullptr ? message : L"";
  if (title != nullptr) m_strTitle = title;
  m_nLayout = layout;
  m_countdown = countdown;
  m_nCloseEffect = closeEffect;
  if (!Create(kBoxStyle, 0, 0, width, height, 0, false, owner)) return kCancel;
  return RunModal(openEffect, true, true);
}

void CPvMsgBox::OnInit() {
  CPvDlg::OnInit();
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;

  m_closeButton.Init(L"", width - 40, 1, 38, 18, 0, 1, m_hWnd, nullptr);
  m_closeButton.m_picture.imageId = kCloseImage;
  m_closeButton.m_pfnClick = OnCancelOrClose;
  AddControl(&m_closeButton);

  m_titleLabel.SetText(m_strTitle.c_str(), 35, 4, 200, 25, false);
  if (CPvFont::Instance().isSupportYaHei()) {
    m_titleLabel.SetFont(20, 0xFFFFFF, nullptr, true, false, false);
  } else {
    m_titleLabel.SetFont(14, 0xFFFFFF, CPvFont::kFallbackFace, true, false, false);
  }
  AddControl(&m_titleLabel);

  if (m_bShowCheck) {
    m_checkBox.SetRect(50, height - 60, 200, 20);
    m_checkBox.m_strLabel = m_strCheckText;
    AddControl(&m_checkBox);
  }

  const int buttonY = height - 30 + m_nButtonRowOffset;
  const auto placeButton = [&](CPvButton& button, const wchar_t* caption, int x, PvClickHandler onClick) {
    button.Init(caption, x, buttonY, kButtonWidth, kButtonHeight, 2, 1, m_hWnd, nullptr);
    button.m_picture.imageId = kButtonImage;
    button.m_pfnClick = onClick;
    AddControl(&button);
  };
  if (m_nLayout == kOkOnly) {
    if (m_nPictureId == 0) m_nPictureId = kOkPicture;
    placeButton(m_okButton, L"确定", width / 2 - 35, OnOk);
  } else if (m_nLayout == kOkCancel) {
    if (m_nPictureId == 0) m_nPictureId = kOkCancelPicture;
    placeButton(m_okButton, L"确定", width / 2 - 80, OnOk);
    placeButton(m_cancelButton, L"取消", width / 2 + 10, OnCancelOrClose);
  }

  if (m_countdown >= 1) m_countdownThread.Reset(CPvThread::Instance().StartThread(CountdownThread, this, 0));
}

LRESULT CPvMsgBox::WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kCountdownTick:
      if (wnd != m_hWnd) break;
      OnCountdownTick(static_cast<int>(wParam));
      return 0;
    default:
      break;
  }
  return CPvDlg::WindowProc(wnd, message, wParam, lParam);
}

void CPvMsgBox::DrawContent(HDC hdc) {
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  CPvImage& image = CPvImage::Instance();
  image.DrawString(hdc, m_hFont, m_strMessage.c_str(), 50, 50, client.right - client.left - 55, 50, 0, 254, false,
                   false);
  if (m_nPictureId != 0) image.DrawImg(hdc, PvImageSource(m_nPictureId, L"IMG"), 10, 58, 0, 0);
  if (m_hWindowIcon != nullptr) DrawIconEx(hdc, 5, 5, m_hWindowIcon, 24, 24, 0, nullptr, DI_NORMAL);
}

void CPvMsgBox::OnClose() {
  CloseWithEffect(kCancel);
}

void CPvMsgBox::OnOk(void* context) {
  static_cast<CPvMsgBox*>(context)->CloseWithEffect(kOk);
}

void CPvMsgBox::OnCancelOrClose(void* context) {
  static_cast<CPvMsgBox*>(context)->CloseWithEffect(kCancel);
}

void CPvMsgBox::CloseWithEffect(int result) {
  if (m_bClosed) return;  // a click and the countdown's end may meet
  // The close effect plays only once no show effect does; stopping pumps
  // messages, which may have closed the box meanwhile.
  StopShowEffect();
  if (m_bClosed) return;
  PlayEffect(m_nCloseEffect);
  Close(result);
}

void CPvMsgBox::OnCountdownTick(int secondsLeft) {
  if (m_bClosed) return;
  wchar_t caption[32];
  swprintf_s(caption, L"确定(%d)", secondsLeft);
  m_okButton.m_strCaption = caption;
  Redraw();
  if (secondsLeft <= 0) OnOk(this);
}

unsigned __stdcall CPvMsgBox::CountdownThread(void* box) {
  auto* self = static_cast<CPvMsgBox*>(box);
  while (self->m_countdown > 0) {
    // Polls the closed flag every 10 ms; the second is measured, because a
    // sleep may last longer than asked.
    const DWORD secondStart = GetTickCount();
    while (GetTickCount() - secondStart < 1000) {
      if (self->m_bClosed) return 0;
      Sleep(10);
    }
    PostMessageW(self->m_hWnd, kCountdownTick, static_cast<WPARAM>(--self->m_countdown), 0);
  }
  return 0;
}
