#include "CrashActions.h"

#include "PvApp.h"
#include "PvMsgBox.h"
#include "PvReport.h"

namespace {

constexpr int kNoticePicture = 60061;
constexpr int kNoticeCountdown = 5;
constexpr int kNoticeWidth = 300;
constexpr int kNoticeHeight = 200;
constexpr int kNoticeOpenEffect = 8;   // zoom in with overshoot
constexpr int kNoticeCloseEffect = 9;  // swell and vanish

void SendCrashPing(const wchar_t* dumpTag) {
  DoReport(kCrashReportUrl, dumpTag, L"");
}

void ShowCrashNotice(const wchar_t* appName) {
  CPvMsgBox notice;
  notice.m_nPictureId = kNoticePicture;
  notice.ShowMessage(CPvApp::Instance().GetMainWnd(), L"", appName, CPvMsgBox::kOkOnly, kNoticeCountdown, kNoticeWidth,
                     kNoticeHeight, kNoticeOpenEffect, kNoticeCloseEffect);
}

}  // namespace

tagCrashActions UninstallerCrashActions() {
  tagCrashActions actions;
  actions.sendPing = SendCrashPing;
  actions.showNotice = ShowCrashNotice;
  return actions;
}
