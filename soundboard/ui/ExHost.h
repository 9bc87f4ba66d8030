// ExHost takes over a top-level window: it replaces the window procedure with
// a per-host thunk, makes the whole window client area and hands the window's
// messages to its parts, one job each:
//   ExElementTree      the elements, and which is hovered, pressed, focused
//   ExComposer         background, composition and presentation
//   ExInputRouter      mouse and keyboard to the elements, drag and resize
//   ExWindowAnimation  the show and close animations
//   ExTooltip          the tooltip of the hovered element
//   ExAccessKeys       Alt with a control's key
//   ExCaption          the icon, title and system buttons
//
// The host object belongs to the application and must outlive its attachment;
// the window's destruction detaches it (destroying every element of the
// window), and so does the host's destructor. All calls belong to the UI
// thread that owns the window.
#pragma once

#include <functional>
#include <optional>

#include "ExAccessKeys.h"
#include "ExCaption.h"
#include "ExComposer.h"
#include "ExElement.h"
#include "ExElementTree.h"
#include "ExGeometry.h"
#include "ExHostEvents.h"
#include "ExHostState.h"
#include "ExInputRouter.h"
#include "ExTooltip.h"
#include "ExWindowAnimation.h"
#include "ExWindowThunk.h"
#include "Handles.h"

// Sees every window message first; any result other than kExUndecided is
// returned to Windows and ends the message's processing.
using ExMessageHook = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

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

class ExHost {
 public:
  ExHost() = default;
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
  bool IsAttached() const { return m_state.window != nullptr; }

  // Processes pending input, then shows the window with `animation`
  // (kExZoomIn, kExFade, ...) over `durationMs`, or plainly.
  void Show(int animation = kExNoAnimation, int durationMs = 200);

  void SetMessageHook(ExMessageHook hook) { m_messageHook = std::move(hook); }
  void SetCallback(ExHostEvent event, ExHostCallback callback) { m_events.Set(event, std::move(callback)); }
  void SetCloseAnimation(int animation) { m_closeAnimation = animation; }
  void SetDefaultCursor(HCURSOR cursor) { m_defaultCursor = cursor; }
  // A system cursor identifier such as 32649 (IDC_HAND).
  void SetDefaultCursorId(int id) { m_defaultCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(id)); }
  void SetDragAnywhere(bool drag) { m_router.SetDragAnywhere(drag); }
  // Moves the focus as a press would; 0 takes it away.
  void SetFocus(ExHandle element);
  // Registers the access key of a control (the character after "&" in its
  // text): Alt with the key clicks the element. Key 0 removes the element's key.
  void SetAccessKey(ExHandle element, wchar_t key) { m_accessKeys.Set(element, key); }
  // Replaces the background image (bytes may be empty), mode and colour and
  // recomposes the window.
  bool RebuildBackground(const void* image, size_t imageSize, ExImageMode mode, COLORREF colour);

  HWND Window() const { return m_state.window; }
  int Width() const { return m_state.size.width; }
  int Height() const { return m_state.size.height; }
  unsigned StyleFlags() const { return m_state.styleFlags; }
  int Theme() const { return m_composer.Theme(); }
  bool IsLayered() const { return m_composer.IsLayered(); }
  bool IsBusy() const { return m_state.busy; }
  // The system tooltip window that shows the hovered element's tip.
  HWND TooltipWindow() const { return m_tooltip.Window(); }
  // The caption elements the style flags asked for (icon, title, system
  // buttons), owned by the host; nullptr when not asked for.
  ExImage* IconElement() const { return m_caption.Icon(); }
  ExLabel* TitleElement() const { return m_caption.Title(); }
  ExSystemButtons* SystemButtons() const { return m_caption.Buttons(); }
  // The element tree and its hover, press and focus state; owned by the host.
  ExElementTree& Tree() { return m_tree; }
  const ExElementTree& Tree() const { return m_tree; }
  ExHandle Hovered() const { return m_tree.Hovered(); }
  ExHandle Focused() const { return m_tree.Focused(); }
  ExHandle Pressed() const { return m_tree.Pressed(); }
  ExElement* FirstElement() const { return m_tree.First(); }
  ExElement* LastElement() const { return m_tree.Last(); }
  // The composed picture; owned by the host.
  const ExSurface& Canvas() const { return m_composer.Canvas(); }

  // Recomposes `area` (clipped to the window) and presents it.
  void Redraw(const ExPixelRect& area);
  void RedrawAll() { Redraw({0, 0, m_state.size.width, m_state.size.height}); }
  // The deepest visible, enabled element at (x, y), or nullptr.
  ExElement* HitTest(double x, double y) const { return m_tree.HitTest(x, y); }
  // Pixels recomposed since attach; lets a benchmark see how much a change cost.
  long long PixelsRecomposed() const { return m_composer.PixelsRecomposed(); }

 private:
  static LRESULT CALLBACK ThunkProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);

  void TakeOptions(const ExAttachOptions& options, int osMajorVersion, LONG originalStyle);
  // Sets the style flags and returns the window style that goes with them.
  LONG ChooseStyleFlags(LONG style, std::optional<unsigned> wanted);
  void Teardown();

  void OnSize(int width, int height);
  void OnClose();
  bool OnSetCursor(HWND cursorWindow);
  void OnGetMinMaxInfo(MINMAXINFO* info) const;
  void OnStyleChanged(WPARAM which, STYLESTRUCT* style);
  bool OnTimer(WPARAM id);
  void OnInvalidate(ExHandle element);
  LRESULT OnPosted(ExHandle element, ExPostedMessage* block);
  void OnMoved(ExHandle element, bool redraw);

  // Declared in dependency order: each part refers only to those above it.
  ExHostState m_state;
  WNDPROC m_previousProc = nullptr;
  ExWindowThunk m_thunk;
  bool m_tearingDown = false;
  bool m_resizable = false;
  int m_closeAnimation = kExNoAnimation;
  HCURSOR m_defaultCursor = nullptr;  // shared cursors: never destroyed
  ExMessageHook m_messageHook;
  ExHostEvents m_events;
  ExTooltip m_tooltip;
  ExAccessKeys m_accessKeys;
  ExElementTree m_tree{m_events, m_tooltip};
  ExComposer m_composer{m_state};
  ExWindowAnimation m_animation{m_state, m_composer};
  ExInputRouter m_router{m_state, m_tree, m_events, m_accessKeys};
  ExCaption m_caption;
};
