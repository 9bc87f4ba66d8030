#include "MainDlg.h"

#include <cwchar>
#include <vector>

#include "Handles.h"
#include "InstallRecord.h"
#include "PvApp.h"
#include "PvImage.h"
#include "PvReport.h"
#include "PvThread.h"

namespace {

constexpr wchar_t kRecordFile[] = L"pvUninstall.dat";
constexpr int kPanelImage = 60052;
constexpr int kCancelImage = 60073;
constexpr int kUninstallImage = 60074;
constexpr int kStripImage = 60026;
constexpr int kEraserImage = 60027;
constexpr int kPanelTop = 89;
constexpr int kStripX = 75;
constexpr int kStripY = 150;
constexpr int kStripWidth = 279;
constexpr int kStripHeight = 23;
constexpr int kEraserLeft = 60;
constexpr int kEraserTravel = 240;
constexpr int kEraserHop = 30;
constexpr int kStepPercent = 10;
constexpr DWORD kStepMs = 200;
constexpr DWORD kDonePollMs = 50;
constexpr int kSlideOutLeft = 3;

std::wstring ReadProductName(const std::wstring& recordPath) {
  UniqueFileHandle file(CreateFileW(recordPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::wstring();
  std::vector<std::uint8_t> header(sizeof(tagUninstallInfo));
  DWORD read = 0;
  if (!ReadFile(file.Get(), header.data(), static_cast<DWORD>(header.size()), &read, nullptr)) return std::wstring();
  return ReadInstallInfo(header.data(), read).szProductName;
}

// A button of the button row with one picture for every state.
std::unique_ptr<CPvButton> MakeRowButton(const wchar_t* caption, int x, int imageId, PvClickHandler onClick) {
  tagPvControlOptions oneState;
  oneState.stateCount = 1;
  auto button = std::make_unique<CPvButton>(caption, x, oneState);
  button->m_picture.imageId = imageId;
  button->m_nCaptionY -= 2;
  button->m_pfnClick = onClick;
  return button;
}

}  // namespace

CMainDlg::CMainDlg()
    : m_uninstaller(CPvApp::Instance().GetAppDir()),
      m_strProductName(ReadProductName(std::wstring(CPvApp::Instance().GetAppDir()) + kRecordFile)) {}

CMainDlg::~CMainDlg() {
  // The show effect draws the buttons, which go before the base dialog.
  StopShowEffect();
  m_controls.clear();
}

void CMainDlg::OnInit() {
  m_bDragAnywhere = true;
  m_nBackgroundId = kPanelImage;
  CPvDlg::OnInit();

  m_pBtnCancel = MakeRowButton(L"取 消", 325, kCancelImage, OnCancel);
  AddControl(m_pBtnCancel.get());
  m_pBtnUninstall = MakeRowButton(L"卸 载", 255, kUninstallImage, OnUninstall);
  AddControl(m_pBtnUninstall.get());

  PostMessageW(m_hWnd, WM_PAINT, 0, 0);
  DoReport(kReportUrl, L"open", L"Tesk_Uninstall");
}

LRESULT CMainDlg::WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      CPvApp::Instance().ExitApp();  // ends the process, also in the middle of an uninstall
    case WM_UNINSTALL_PROGRESS:
      OnProgress(wParam);
      return 0;
    default:
      return CPvDlg::WindowProc(wnd, message, wParam, lParam);
  }
}

void CMainDlg::OnProgress(WPARAM percent) {
  if (percent >= 100) m_bDone = true;
  m_nTarget = percent >= 100 ? 100 : static_cast<int>(percent);
}

void CMainDlg::DrawBackground(HDC hdc, int, int, int, int) {
  CPvImage::Instance().DrawImg(hdc, PvImageSource(kPanelImage, L"IMG"), 0, kPanelTop, 0, 0);
}

void CMainDlg::DrawContent(HDC hdc) {
  if (m_nState == kConfirmView) {
    DrawQuestion(hdc);
  } else {
    DrawProgress(hdc);
  }
}

void CMainDlg::DrawQuestion(HDC hdc) {
  wchar_t question[128];
  swprintf_s(question, L"您确定要卸载%s?", m_strProductName.c_str());
  // One line, trimmed with an ellipsis: a long name never wraps.
  CPvImage::Instance().DrawString(hdc, m_hFont, question, 35, 146, 210, 30, m_textColor, 254, false, true, true);
}

void CMainDlg::DrawProgress(HDC hdc) {
  const int shown = m_nShown;
  m_nBob = (m_nBob != 0 && shown < 100) ? 0 : kEraserHop;

  CPvImage& image = CPvImage::Instance();
  const int rubbedOut = shown * kStripWidth / 100;
  if (rubbedOut < kStripWidth) {
    const RECT rest = {rubbedOut, 0, kStripWidth, kStripHeight};
    image.DrawImg(hdc, PvImageSource(kStripImage, L"IMG"), kStripX + rubbedOut, kStripY, kStripWidth - rubbedOut,
                  kStripHeight, &rest);
  }
  image.DrawImg(hdc, PvImageSource(kEraserImage, L"IMG"), shown * kEraserTravel / 100 + kEraserLeft, m_nBob, 0, 0);
}

void CMainDlg::OnCancel(void* context) {
  auto* self = static_cast<CMainDlg*>(context);
  self->m_bCancel = true;
  self->PlayEffect(kSlideOutLeft);
  CPvApp::Instance().ExitApp();
}

void CMainDlg::OnUninstall(void* context) {
  auto* self = static_cast<CMainDlg*>(context);
  if (self->m_nState != kConfirmView) return;
  self->m_nState = kUninstallingView;
  self->SetBusy(true);
  PostMessageW(self->m_hWnd, WM_PAINT, 0, 0);
  self->m_uninstaller.StartUninstall(self->m_hWnd, TRUE);
  CPvThread::Instance().StartThread(ProgressThread, self, 1);
}

unsigned __stdcall CMainDlg::ProgressThread(void* dialog) {
  auto* self = static_cast<CMainDlg*>(dialog);
  while (!self->m_bCancel) {
    if (self->m_nShown < self->m_nTarget) self->m_nShown += kStepPercent;
    SendMessageW(self->m_hWnd, WM_PAINT, 0, 0);
    Sleep(kStepMs);
    if (self->m_nShown >= 100) break;
  }
  // A 100 from the folder walk may come while the worker still removes the
  // registry key and shortcuts: the program goes only once it has finished.
  while (!self->m_bDone || !self->m_uninstaller.isFinished()) Sleep(kDonePollMs);
  self->m_uninstaller.DeleteSelf();
  SendMessageW(self->m_hWnd, WM_CLOSE, 0, 0);
  return 0;
}
