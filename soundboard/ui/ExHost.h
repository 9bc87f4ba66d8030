// ExHost takes over a top-level window: it replaces the window procedure with
// a per-host thunk, makes the whole window client area, keeps the window's
// element tree, composes the element bitmaps over a pre-rendered background
// into one canvas and presents it (UpdateLayeredWindow for a layered host,
// BitBlt into a rounded window region for an opaque one), and routes mouse
// and keyboard input to the elements. It also drags, resizes and maximises the
// window and runs its show and close animations.
//
// The host object belongs to the application and must outlive its attachment;
// the window's destruction detaches it (destroying every element of the
// window), and so does the host's destructor. All calls belong to the UI
// thread that owns the window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ExElement.h"
#include "ExElementTree.h"
#include "ExGeometry.h"
#include "ExHostEvents.h"
#include "ExSurface.h"
#include "ExTooltip.h"
#include "ExWindowThunk.h"
#include "Handles.h"

// Sees every window message first; any result other than kExUndecided is
// returned to Windows and ends the message's processing.
using ExMessageHook = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

constexpr int kExOpaqueKey = -1;

enum class ExImageMode { kNatural = 0, kStretch = 1, kCentre = 2 };

enum ExAnimation {
  kExNoAnimation = 0,
  kExFade = 1,
  kExZoomFade = 2,
  kExZoomIn = 7,
};

// Optional values of Attach; unset ones take their documented defaults.
struct ExAttachOptions {
  int layeredKey = kExOpaqueKey;  // anything else makes the window layered
  ExImageMode imageMode = ExImageMode::kNatural;
  // A stretched image covers this size from the top-left corner instead of
  // the whole window, so a window that widens to show more keeps its look.
  std::optional<ExSize> stretchArea;
  COLORREF backgroundColour = 0;  // RGB, drawn opaque under the image
  int closeAnimation = kExNoAnimation;
  int theme = 7;                  // shading colour of buttons; 1 turns blur off
  std::optional<bool> resizable;  // default: the window has WS_THICKFRAME
  bool dragAnywhere = true;
  std::optional<bool> blur;            // default: on where DWM blur exists; layered hosts only
  std::optional<unsigned> styleFlags;  // default: icon, title, close and the window's boxes
};

class ExImage;
class ExLabel;
class ExSystemButtons;

class ExHost {
 public:
  ExHost();
  ~ExHost();
  ExHost(const ExHost&) = delete;
  ExHost& operator=(const ExHost&) = delete;

  // The host attached to `window`, or nullptr.
  static ExHost* FromWindow(HWND window);

  // Takes over `window` with `image` (PNG or other GDI+ image bytes, may be
  // empty) as background. False, changing nothing, when the window is not a
  // window, already has a host, or the framework is not started; false after a
  // partial failure too, with the window left as it was.
  bool Attach(HWND window, const void* image, size_t imageSize, const ExAttachOptions& options = {});
  bool IsAttached() const { return m_window != nullptr; }

  // Processes pending input, then shows the window with `animation`
  // (kExZoomIn, kExFade, ...) over `durationMs`, or plainly.
  void Show(int animation = kExNoAnimation, int durationMs = 200);

  void SetMessageHook(ExMessageHook hook) { m_messageHook = std::move(hook); }
  void SetCallback(ExHostEvent event, ExHostCallback callback);
  void SetCloseAnimation(int animation) { m_closeAnimation = animation; }
  void SetDefaultCursor(HCURSOR cursor) { m_defaultCursor = cursor; }
  // A system cursor identifier such as 32649 (IDC_HAND).
  void SetDefaultCursorId(int id) { m_defaultCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(id)); }
  void SetDragAnywhere(bool drag) { m_dragAnywhere = drag; }
  // Moves the focus as a press would; 0 takes it away.
  void SetFocus(ExHandle element);
  // Registers the access key of a control (the character after "&" in its
  // text): Alt with the key clicks the element. Key 0 removes the element's key.
  void SetAccessKey(ExHandle element, wchar_t key);
  // Replaces the background image (bytes may be empty), mode and colour and
  // recomposes the window.
  bool RebuildBackground(const void* image, size_t imageSize, ExImageMode mode, COLORREF colour);

  HWND Window() const { return m_window; }
  int Width() const { return m_size.width; }
  int Height() const { return m_size.height; }
  unsigned StyleFlags() const { return m_styleFlags; }
  int Theme() const { return m_theme; }
  bool IsLayered() const { return m_layeredKey != kExOpaqueKey; }
  bool IsBusy() const { return m_busy; }
  // The system tooltip window that shows the hovered element's tip.
  HWND TooltipWindow() const { return m_tooltip.Window(); }
  // The caption elements the style flags asked for (icon, title, system
  // buttons), owned by the host; nullptr when not asked for.
  ExImage* IconElement() const { return m_iconElement.get(); }
  ExLabel* TitleElement() const { return m_titleElement.get(); }
  ExSystemButtons* SystemButtons() const { return m_systemButtons.get(); }
  // The element tree and its hover, press and focus state; owned by the host.
  ExElementTree& Tree() { return m_tree; }
  const ExElementTree& Tree() const { return m_tree; }
  ExHandle Hovered() const { return m_tree.Hovered(); }
  ExHandle Focused() const { return m_tree.Focused(); }
  ExHandle Pressed() const { return m_tree.Pressed(); }
  ExElement* FirstElement() const { return m_tree.First(); }
  ExElement* LastElement() const { return m_tree.Last(); }
  // The composed picture; owned by the host.
  const ExSurface& Canvas() const { return m_canvas; }

  // Recomposes `area` (clipped to the window) and presents it.
  void Redraw(const ExPixelRect& area);
  void RedrawAll() { Redraw({0, 0, m_size.width, m_size.height}); }
  // The deepest visible, enabled element at (x, y), or nullptr.
  ExElement* HitTest(double x, double y) const { return m_tree.HitTest(x, y); }
  // Pixels recomposed since attach; lets a benchmark see how much a change cost.
  long long PixelsRecomposed() const { return m_pixelsRecomposed; }

 private:
  static LRESULT CALLBACK ThunkProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);

  void TakeOptions(const ExAttachOptions& options, int osMajorVersion);
  // Sets the style flags and returns the window style that goes with them.
  LONG ChooseStyleFlags(LONG style, std::optional<unsigned> wanted);
  bool CreateSurfaces();
  void CreateCaptionElements();
  void PlaceCaptionElements();
  void OnSetText();
  bool LoadBackgroundImage(const void* image, size_t imageSize);
  void RenderBackground();
  void ApplyWindowShape();
  void ApplyBlur(int left, int top, int right, int bottom);
  bool BlurApplies() const;
  void Compose(const ExPixelRect& area);
  void DrawChain(ExElement* first, const ExPixelRect& clip);
  void DrawElement(ExElement& element, const ExPixelRect& clip);
  void Present(const ExPixelRect& area);
  void PresentLayered(HDC source, BYTE alpha);
  void Teardown();

  void OnSize(int width, int height);
  void OnActivate(bool active);
  void OnPaint();
  void OnClose();
  bool OnSetCursor(HWND cursorWindow);
  void OnGetMinMaxInfo(MINMAXINFO* info) const;
  void OnStyleChanged(WPARAM which, STYLESTRUCT* style);
  LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
  bool OnSysChar(WPARAM wParam, LPARAM lParam);
  LRESULT ForwardToFocused(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnEdge(UINT message, int x, int y);
  void OnPressedMouse(UINT message, WPARAM wParam, LPARAM lParam);
  void OnLeftPress(ExHandle hit, WPARAM wParam, LPARAM lParam);
  void OnMouseLeave();
  void OnCaptureChanged(HWND newCapture);
  bool OnTimer(WPARAM id);
  void OnInvalidate(ExHandle element);
  LRESULT OnPosted(ExHandle element, ExPostedMessage* block);
  void OnMoved(ExHandle element, bool redraw);

  void ClickElement(ExHandle element, WPARAM wParam, LPARAM lParam);
  void PumpPending();
  void RunShowAnimation(int animation, int durationMs);
  void RunCloseAnimation();
  void DrawAnimationFrame(const ExRectF& place, BYTE alpha);
  void SetLayeredStyle(bool layered);

  HWND m_window = nullptr;
  WNDPROC m_previousProc = nullptr;
  ExWindowThunk m_thunk;
  bool m_busy = false;
  bool m_tearingDown = false;
  bool m_trackingLeave = false;
  HDC m_windowDc = nullptr;  // from GetDC; released at teardown
  ExHostEvents m_events;
  ExTooltip m_tooltip;
  ExElementTree m_tree{m_events, m_tooltip};
  std::unique_ptr<ExImage> m_iconElement;
  std::unique_ptr<ExLabel> m_titleElement;
  std::unique_ptr<ExSystemButtons> m_systemButtons;
  ExSurface m_canvas;
  ExSurface m_background;
  ExSize m_size;
  unsigned m_styleFlags = 0;
  int m_closeAnimation = kExNoAnimation;
  bool m_blur = false;
  int m_layeredKey = kExOpaqueKey;
  int m_theme = 7;
  UniqueGpBitmap m_backgroundImage;
  ExImageMode m_imageMode = ExImageMode::kNatural;
  std::optional<ExSize> m_stretchArea;
  COLORREF m_backgroundColour = 0;
  bool m_resizable = false;
  bool m_dragAnywhere = true;
  HCURSOR m_defaultCursor = nullptr;  // shared cursors: never destroyed
  HCURSOR m_edgeCursor = nullptr;     // while the pointer is on a resize zone
  ExMessageHook m_messageHook;
  UniqueGpImageAttributes m_opacityAttributes;
  struct AccessKey {
    ExHandle element;
    wchar_t key;
  };
  std::vector<AccessKey> m_accessKeys;
  long long m_pixelsRecomposed = 0;
};
