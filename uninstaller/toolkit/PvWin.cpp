#include "PvWin.h"

#include "PvApp.h"
#include "PvDC.h"
#include "PvLayered.h"

namespace {

constexpr DWORD kDefaultChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kDefaultPopupStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX;

}  // namespace

CPvWin::~CPvWin() {
  DestroyWindowAndClass();
}

void CPvWin::DestroyWindowAndClass() {
  if (m_hWnd != nullptr) {
    // Messages sent while the window goes must not reach a dying object.
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    CPvLayered::Forget(m_hWnd);
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
  }
  if (!m_strClassName.empty()) {
    UnregisterClassW(m_strClassName.c_str(), CPvApp::Instance().GetInstance());
    m_strClassName.clear();
  }
}

bool CPvWin::RegisterOwnClass() {
  CPvApp& app = CPvApp::Instance();
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = SharedWindowProc;
  windowClass.hInstance = app.GetInstance();
  if (m_nIconId != 0) {
    windowClass.hIcon = LoadIconW(app.GetInstance(), MAKEINTRESOURCEW(m_nIconId));
    windowClass.hIconSm = windowClass.hIcon;
  }
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  // Named after the tick count; two windows made within one tick take the
  // next free number instead of sharing a class.
  for (DWORD tick = GetTickCount();; ++tick) {
    m_strClassName = std::wstring(app.GetAppName()) + L"_PVWND_" + std::to_wstring(static_cast<int>(tick));
    windowClass.lpszClassName = m_strClassName.c_str();
    if (RegisterClassExW(&windowClass) != 0) return true;
    if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      m_strClassName.clear();
      return false;
    }
  }
}

bool CPvWin::Create(DWORD style, int x, int y, int width, int height, DWORD exStyle, bool layered, HWND parent) {
  DestroyWindowAndClass();
  SetRect(x, y, width, height);
  if (!RegisterOwnClass()) return false;
  if (style == 0) style = parent != nullptr ? kDefaultChildStyle : kDefaultPopupStyle;
  m_hHostWnd = parent;
  CPvApp& app = CPvApp::Instance();
  m_hWnd = CreateWindowExW(0, m_strClassName.c_str(), app.GetAppName(), style, x, y, width, height, parent, nullptr,
                           app.GetInstance(), nullptr);
  if (m_hWnd == nullptr) {
    DestroyWindowAndClass();
    return false;
  }
  m_bChild = (style & WS_CHILD) != 0;
  if (exStyle != 0) SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(exStyle));
  SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_bLayeredWnd = layered;
  if (layered) CPvLayered::Make(m_hWnd);
  if (!m_bInitialised) {
    m_bInitialised = true;
    OnInit();
  }
  AttachControls();
  if (layered) PostMessageW(m_hWnd, WM_PAINT, 0, 0);
  return true;
}

LRESULT CALLBACK CPvWin::SharedWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<CPvWin*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(wnd, message, wParam, lParam);
  return window->WindowProc(wnd, message, wParam, lParam);
}

LRESULT CPvWin::WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) return OnPaintMessage(wnd);
  return DefWindowProcW(wnd, message, wParam, lParam);
}

LRESULT CPvWin::OnPaintMessage(HWND wnd) {
  PAINTSTRUCT paint = {};
  HDC hdc = BeginPaint(wnd, &paint);
  Paint(hdc);
  EndPaint(wnd, &paint);
  return 0;
}

void CPvWin::Redraw() {
  if (m_hWnd == nullptr) return;
  if (m_bLayeredWnd) {
    PostMessageW(m_hWnd, WM_PAINT, 0, 0);
    return;
  }
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  WindowDc screen(m_hWnd);
  CPvDC frame(screen.Get(), client, true, false, m_hWnd);
  Paint(frame);
}
