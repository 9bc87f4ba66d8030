#include "WindowChrome.h"

#include <shellapi.h>

#include <cstring>

#include "AppMessages.h"
#include "ExImageLoader.h"
#include "QuoblyResources.h"
#include "SoundLibrary.h"

namespace {

constexpr UINT kTrayIconId = 1;
constexpr char kTrayTip[] = "Quobly";
constexpr int kTrayIconSize = 32;
constexpr int kMenuOffset = 3;  // the menu opens this far right of and below the cursor
constexpr int kMenuShow = 1;
constexpr int kMenuClose = 2;

constexpr char kTitleText[] = "Quobly beta1";
constexpr float kTitleFontSize = 13;
constexpr float kButtonTop = 4;
constexpr int kButtonHeight = 26;
constexpr int kCutWidth = 33;  // every strip's frames are cut 33 x 26
constexpr int kDimmed = 100;   // the top-most button's opacity while off
constexpr int kOpaque = 255;
constexpr char kTopmostOff[] = "置顶：关";
constexpr char kTopmostOn[] = "置顶：开";

}  // namespace

WindowChrome::WindowChrome() : m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {
  m_trayMenu.AddItem(std::string("显示"), kMenuShow);
  m_trayMenu.AddItem(std::string("关闭"), kMenuClose);
}

WindowChrome::~WindowChrome() {
  RemoveTrayIcon();
}

void WindowChrome::AddTrayIcon(HWND window) {
  RemoveTrayIcon();
  m_window = window;
  m_trayWindow = window;
  if (!m_trayIcon) {
    m_trayIcon.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUOBLY), IMAGE_ICON,
                                                   kTrayIconSize, kTrayIconSize, LR_DEFAULTCOLOR)));
  }
  ShowTrayIcon();
}

bool WindowChrome::ShowTrayIcon() {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = m_trayWindow;
  icon.uID = kTrayIconId;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = kMsgTrayIcon;
  icon.hIcon = m_trayIcon.Get();
  std::strncpy(icon.szTip, kTrayTip, sizeof icon.szTip - 1);
  return Shell_NotifyIconA(NIM_ADD, &icon) != FALSE;
}

void WindowChrome::RemoveTrayIcon() {
  if (m_trayWindow == nullptr) return;
  NOTIFYICONDATAA icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = m_trayWindow;
  icon.uID = kTrayIconId;
  Shell_NotifyIconA(NIM_DELETE, &icon);
  m_trayWindow = nullptr;
}

bool WindowChrome::OnShellRestart(UINT message) {
  if (message == 0 || message != m_taskbarCreated) return false;
  if (m_trayWindow != nullptr) ShowTrayIcon();
  return true;
}

void WindowChrome::Create(HWND window, int width) {
  m_window = window;
  ExLabelOptions look;
  look.textColour = ArgbFromBgr(0xFFFFFF);
  look.font.size = kTitleFontSize;
  look.lineAlignment = Gdiplus::StringAlignmentCenter;
  m_title.Create(window, {10, 0, 200, 50}, kTitleText, look);

  CreateTitleButton(m_close, width - 45, 33, IDR_TITLE_CLOSE, 34, "关闭");
  CreateTitleButton(m_minimise, width - 75, 25, IDR_TITLE_MINIMISE, 26, "最小化");
  CreateTitleButton(m_topmost, width - 105, 25, IDR_TITLE_TOPMOST, 29, kTopmostOff);
  m_topmost.SetOpacity(kDimmed);
}

void WindowChrome::CreateTitleButton(ExImageButton& button, int x, int width, int strip, int frameStep,
                                     const char* text) {
  const ExRectF place{static_cast<float>(x), kButtonTop, static_cast<float>(width), kButtonHeight};
  if (button.Create(m_window, place, text) == 0) return;
  const ExResourceBytes bytes = ExFindResourceBytes(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(strip), L"PNG");
  button.SetImageStrip(bytes.data, bytes.size, frameStep, kCutWidth, kButtonHeight, true);
  button.SetTooltipText(text);
  button.BindEvent(EXM_CLICK, [this](ExHandle, ExHandle element, UINT, WPARAM, LPARAM) -> LRESULT {
    OnClick(element);
    return 0;
  });
}

void WindowChrome::OnClick(ExHandle button) {
  if (button == m_close.Handle()) {
    PostMessageW(m_window, WM_CLOSE, 0, 0);
  } else if (button == m_minimise.Handle()) {
    // Hidden completely, not minimised to the taskbar: the icon brings it back.
    ShowWindow(m_window, SW_HIDE);
  } else if (button == m_topmost.Handle()) {
    ToggleTopmost();
  }
}

void WindowChrome::ToggleTopmost() {
  const bool turnOn = m_topmost.Opacity() == kDimmed;
  const char* text = turnOn ? kTopmostOn : kTopmostOff;
  m_topmost.SetOpacity(turnOn ? kOpaque : kDimmed);
  m_topmost.SetText(text);
  m_topmost.SetTooltipText(text, true);
  SetWindowPos(m_window, turnOn ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowChrome::OnTrayIcon(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONUP:
      ShowMainWindow();
      break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      OpenTrayMenu();
      break;
    default:
      break;  // a double click included: the first release has shown the window
  }
}

void WindowChrome::OpenTrayMenu() {
  if (m_menuOpen || m_window == nullptr) return;  // one menu at a time: a second click leaves the open one
  POINT cursor = {};
  GetCursorPos(&cursor);
  m_menuOpen = true;
  const int command =
      m_trayMenu.Popup(m_window, false, cursor.x + kMenuOffset, cursor.y + kMenuOffset, ExMenuButtons::kBoth);
  m_menuOpen = false;
  if (command == kMenuShow) {
    ShowMainWindow();
  } else if (command == kMenuClose) {
    DestroyWindow(m_window);
  }
}

void WindowChrome::ShowMainWindow() {
  if (m_window == nullptr || !IsWindow(m_window)) return;
  if (IsWindowVisible(m_window)) {
    if (IsIconic(m_window) || IsZoomed(m_window)) ShowWindow(m_window, SW_RESTORE);
    RECT rect = {};
    GetWindowRect(m_window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(m_window, SW_SHOW);
  SetForegroundWindow(m_window);
}
