// Process-wide state of the layered UI framework: GDI+, the font lookup and
// the default font, the window class "Ex_LayerUI", the shared scratch canvas,
// and the routines that create framework windows and find the work area they
// go in. Everything here belongs to the UI thread.
#pragma once

#include <memory>
#include <string>

#include "ExFontLookup.h"
#include "ExGeometry.h"
#include "ExSurface.h"
#include "GdiplusSession.h"
#include "Handles.h"

// One entry of the edit box's context menu; the command numbers are the key
// codes of Ctrl+X, C, V and A, so the edit box runs menu commands as keys.
struct ExMenuItemSpec {
  const wchar_t* text;  // nullptr for a separator
  int command;
};

class ExFramework {
 public:
  static constexpr const wchar_t* kWindowClass = L"Ex_LayerUI";

  // Starts GDI+, builds the shared state and registers the window class with
  // `classStyle`. Call once on the UI thread before any framework window
  // exists; false when GDI+ or the class cannot be set up.
  static bool Startup(UINT classStyle = CS_DBLCLKS);
  // Releases everything Startup built; every host must be gone by then.
  static void Shutdown();
  // The running framework, or nullptr outside Startup..Shutdown.
  static ExFramework* Get();

  ~ExFramework();
  ExFramework(const ExFramework&) = delete;
  ExFramework& operator=(const ExFramework&) = delete;

  // Owned by the framework; valid until Shutdown.
  Gdiplus::GpFont* DefaultFont() const { return m_defaultFont.Get(); }
  // The family the default font really has, for GDI text that must measure
  // as the default font draws; empty when there is no default font.
  const std::wstring& DefaultFace() const { return m_defaultFace; }
  // Every font the framework's elements make comes through here.
  ExFontLookup& Fonts() { return m_fonts; }
  HCURSOR ArrowCursor() const { return m_arrowCursor; }
  HICON ApplicationIcon() const { return m_applicationIcon; }
  // The caption buttons' glyphs in cells of 28 x 20 pixels:
  // columns close, maximise, restore, minimise; rows normal, hover, pressed.
  // nullptr when it did not decode.
  Gdiplus::GpBitmap* CaptionSprite() const { return m_captionSprite.Get(); }
  int OsMajorVersion() const { return m_osMajorVersion; }
  static const ExMenuItemSpec* EditMenuItems(int* count);

  // Scratch surface shared by all hosts for animations; it only grows, to the
  // largest size asked for so far. False when it could not grow.
  bool GrowScratch(int width, int height);
  ExSurface& Scratch() { return m_scratch; }

 private:
  ExFramework() = default;
  bool Build(UINT classStyle);
  void CreateDefaultFont();

  // First, so that GDI+ outlives every GDI+ object the members below hold.
  GdiplusSession m_gdiplus;
  ExFontLookup m_fonts;
  UniqueGpFont m_defaultFont;
  std::wstring m_defaultFace;
  UniqueGpBitmap m_captionSprite;
  HCURSOR m_arrowCursor = nullptr;    // shared system cursor: never destroyed
  HICON m_applicationIcon = nullptr;  // resource icon: freed with the module
  int m_osMajorVersion = 0;
  bool m_classRegistered = false;
  ExSurface m_scratch;
};

// The work area (screen coordinates) of the monitor that holds the most of
// `onScreen`, or of the nearest one; `monitorOrigin`, when given, receives
// that monitor's top-left corner.
ExPixelRect ExWorkArea(const RECT& onScreen, POINT* monitorOrigin = nullptr);

// Options of ExCreateWindow; the defaults make the framework's usual
// borderless window, 380 x 250, centred in the work area of its owner's
// monitor, or of the primary one.
struct ExWindowOptions {
  const wchar_t* className = ExFramework::kWindowClass;
  std::string title;  // ANSI
  DWORD style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  HWND owner = nullptr;
  int width = 380;
  int height = 250;
  bool centred = true;  // else at (x, y)
  int x = 0;
  int y = 0;
  bool show = false;
};

// Creates a top-level framework window with the class icon as its big and
// small icon. The caller destroys the window; nullptr on failure.
HWND ExCreateWindow(const ExWindowOptions& options);

// ANSI (system code page) text to UTF-16 and back.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
