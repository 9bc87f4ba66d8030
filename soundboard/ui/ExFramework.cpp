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

// The face of the system caption font; Tahoma has no Chinese glyphs.
std::wstring CaptionFontFace() {
  NONCLIENTMETRICSA metrics = {};
  // The size of the structure before Vista added iPaddedBorderWidth: every
  // Windows version accepts it.
  metrics.cbSize = 340;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return kDefaultFontFamily;
  std::wstring face = AnsiToWide(metrics.lfCaptionFont.lfFaceName);
  return face == L"Tahoma" || face.empty() ? kDefaultFontFamily : face;
}

UniqueGpFont CreatePixelFont(const wchar_t* family) {
  UniqueGpFontFamily fontFamily;
  UniqueGpFont font;
  if (GdipCreateFontFamilyFromName(family, nullptr, fontFamily.Put()) == Ok) {
    GdipCreateFont(fontFamily.Get(), kDefaultFontPixels, FontStyleRegular, UnitPixel, font.Put());
  }
  return font;
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
  GdiplusStartupInput input;  // version 1
  if (GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Ok) return false;
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
  m_defaultFont = CreatePixelFont(kDefaultFontFamily);
  if (!m_defaultFont) m_defaultFont = CreatePixelFont(CaptionFontFace().c_str());
  if (m_defaultFont) return;
  // Neither exists (a system without Chinese fonts whose caption font is
  // Tahoma): text elements still need a font.
  GpFontFamily* sansSerif = nullptr;  // a shared family: never deleted
  if (GdipGetGenericFontFamilySansSerif(&sansSerif) == Ok) {
    GdipCreateFont(sansSerif, kDefaultFontPixels, FontStyleRegular, UnitPixel, m_defaultFont.Put());
  }
}

ExFramework::~ExFramework() {
  m_scratch.Reset();
  m_defaultFont.Reset();
  m_captionSprite.Reset();
  if (m_classRegistered) UnregisterClassW(kWindowClass, GetModuleHandleW(nullptr));
  if (m_gdiplusToken != 0) GdiplusShutdown(m_gdiplusToken);
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
    RECT workArea = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    x = workArea.left + (workArea.right - workArea.left - options.width) / 2;
    y = workArea.top + (workArea.bottom - workArea.top - options.height) / 2;
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
