#include "ExFramework.h"

#include <commctrl.h>

#include <algorithm>

#include "ExImageLoader.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// The caption buttons' glyphs: columns close, maximise, restore, minimise;
// rows normal, hover, pressed.
const unsigned char kCaptionSprite[] = {
#include "ExCaptionSprite.inc"
};

constexpr int kApplicationIconId = 129;
constexpr REAL kDefaultFontPixels = 12.0f;
constexpr wchar_t kDefaultFontFamily[] = L"宋体";

constexpr ExMenuItemSpec kEditMenu[] = {
    {L"剪切(&T)", 88}, {L"复制(&C)", 67}, {L"粘贴(&P)", 86}, {nullptr, 0}, {L"全部选择(&A)", 65},
};

std::unique_ptr<ExFramework>& Instance() {
  static std::unique_ptr<ExFramework> instance;
  return instance;
}

// RtlGetVersion reports the real version; GetVersionEx is shimmed by manifests.
int ReadOsMajorVersion() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto getVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (getVersion == nullptr || getVersion(&info) != 0) return 0;
  return static_cast<int>(info.dwMajorVersion);
}

}  // namespace

bool ExFramework::Startup(UINT classStyle) {
  auto& instance = Instance();
  if (instance) return true;
  std::unique_ptr<ExFramework> framework(new ExFramework);
  if (!framework->Build(classStyle)) return false;
  instance = std::move(framework);
  return true;
}

void ExFramework::Shutdown() {
  Instance().reset();
}

ExFramework* ExFramework::Get() {
  return Instance().get();
}

bool ExFramework::Build(UINT classStyle) {
  if (!m_gdiplus.Started()) return false;
  m_osMajorVersion = ReadOsMajorVersion();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};  // hosts' tooltip windows
  InitCommonControlsEx(&controls);
  m_arrowCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  m_applicationIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kApplicationIconId));
  CreateDefaultFont();
  m_captionSprite = ExDecodeImage(kCaptionSprite, sizeof kCaptionSprite);

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = m_applicationIcon;
  windowClass.hCursor = m_arrowCursor;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  m_classRegistered = RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return m_classRegistered;
}

void ExFramework::CreateDefaultFont() {
  m_defaultFont = m_fonts.MakeFont(kDefaultFontFamily, kDefaultFontPixels, FontStyleRegular);
  UniqueGpFontFamily family;
  wchar_t name[LF_FACESIZE] = {};
  if (m_defaultFont && GdipGetFamily(m_defaultFont.Get(), family.Put()) == Ok &&
      GdipGetFamilyName(family.Get(), name, LANG_NEUTRAL) == Ok) {
    m_defaultFace = name;
  }
}

ExFramework::~ExFramework() {
  m_scratch.Reset();
  m_defaultFont.Reset();
  m_captionSprite.Reset();
  if (m_classRegistered) UnregisterClassW(kWindowClass, GetModuleHandleW(nullptr));
}

const ExMenuItemSpec* ExFramework::EditMenuItems(int* count) {
  *count = static_cast<int>(sizeof kEditMenu / sizeof kEditMenu[0]);
  return kEditMenu;
}

bool ExFramework::GrowScratch(int width, int height) {
  if (width <= m_scratch.Width() && height <= m_scratch.Height()) return true;
  return m_scratch.Create(std::max(width, m_scratch.Width()), std::max(height, m_scratch.Height()));
}

HWND ExCreateWindow(const ExWindowOptions& options) {
  int x = options.x;
  int y = options.y;
  if (options.centred) {
    // The primary monitor's top-left corner is the origin of the screen.
    RECT reference = {0, 0, 1, 1};
    if (options.owner != nullptr) GetWindowRect(options.owner, &reference);
    const ExPixelRect workArea = ExWorkArea(reference);
    x = workArea.left + (workArea.Width() - options.width) / 2;
    y = workArea.top + (workArea.Height() - options.height) / 2;
  }
  HWND window =
      CreateWindowExW(options.exStyle, options.className, AnsiToWide(options.title).c_str(), options.style, x, y,
                      options.width, options.height, options.owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  const auto classIcon = static_cast<LPARAM>(GetClassLongPtrW(window, GCLP_HICON));
  SendMessageW(window, WM_SETICON, ICON_BIG, classIcon);
  SendMessageW(window, WM_SETICON, ICON_SMALL, classIcon);
  if (options.show) {
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
  }
  return window;
}

ExPixelRect ExWorkArea(const RECT& onScreen, POINT* monitorOrigin) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromRect(&onScreen, MONITOR_DEFAULTTONEAREST), &info)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);  // the primary monitor's, at the origin
  }
  if (monitorOrigin != nullptr) *monitorOrigin = {info.rcMonitor.left, info.rcMonitor.top};
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int length =
      WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(length, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr, nullptr);
  return narrow;
}
