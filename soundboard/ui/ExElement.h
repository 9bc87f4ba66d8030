// ExElement: the base of every drawn element of a framework window. An element
// is a rectangle with a premultiplied bitmap of its own, a place in its host's
// element tree, a set of properties and a table of event handlers. Control
// classes derive from it and override ClassProc.
//
// Element objects belong to the application (usually program-wide objects);
// Create gives the object a handle and a place in a host window, Destroy (or
// the destruction of its parent or of the host window) takes both away again,
// with EXM_DESTROY and WM_DESTROY through the object's own class procedure.
// An object that ends while its element still lives only leaves the tree: no
// class procedure can run from a base destructor, so a class keeps what must
// be given back at its end in members that give it back themselves. All calls
// belong to the UI thread that owns the host window, except Post, which any
// thread may call while the element lives.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ExGeometry.h"
#include "ExMessages.h"
#include "ExTreeLinks.h"
#include "Handles.h"

class ExHost;
class ExSurface;

// Handlers get the parent element's handle (0 for a top-level element), the
// element's handle, and the message. The class procedure's result, not the
// handler's, is what the sender of the message sees.
using ExEventHandler = std::function<LRESULT(ExHandle parent, ExHandle element, UINT message, WPARAM, LPARAM)>;

// Type codes the framework itself looks at.
constexpr int kExTypeSkippedByTab = 1;
constexpr int kExTypeContainer = 21;  // draws nothing itself: a 1 x 1 bitmap

// Creation options; the defaults make a visible, interactive element.
struct ExElementStyle {
  int typeCode = 0;
  bool visible = true;
  bool interactive = true;
  HCURSOR cursor = nullptr;  // nullptr: the host's default cursor
  int animationPeriod = 0;   // milliseconds of the class's state animation
};

// lParam of EXM_CUSTOMDRAW. Everything in it belongs to the host and is valid
// only during the call.
struct ExDrawRecord {
  HDC canvasDc;
  Gdiplus::GpGraphics* graphics;
  ExSurface* scratch;
  Gdiplus::GpBitmap* bitmap;
  ExRectF rect;
  ExPixelRect clip;
};

// The block that Send and Post hand to the host with EXM_POSTED; allocated by
// the sender with new, deleted by the host.
struct ExPostedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Where a control is created: a host window or a parent element.
struct ExParent {
  ExParent(HWND hostWindow) : window(hostWindow) {}
  ExParent(ExHandle parentElement) : element(parentElement) {}
  HWND window = nullptr;
  ExHandle element = 0;
};

// The tree links are the base; only the host's ExElementTree changes them.
class ExElement : public ExTreeNode {
 public:
  ExElement() = default;
  virtual ~ExElement();
  ExElement(const ExElement&) = delete;
  ExElement& operator=(const ExElement&) = delete;

  // The live element with this handle, or nullptr (0, destroyed, never made).
  static ExElement* FromHandle(ExHandle handle);

  // Places the element in `parent` (a host window or a live element of the
  // same host) and renders it. An element that already exists is destroyed
  // first. 0 when the window has no host, the parent element is gone or
  // belongs to another host, or the bitmap cannot be made.
  ExHandle Create(HWND parent, const ExRectF& rect, const ExElementStyle& style = {});
  ExHandle Create(ExHandle parent, const ExRectF& rect, const ExElementStyle& style = {});
  ExHandle Create(const ExParent& parent, const ExRectF& rect, const ExElementStyle& style = {}) {
    return parent.window != nullptr ? Create(parent.window, rect, style) : Create(parent.element, rect, style);
  }
  // Sends EXM_DESTROY, recomposes the area the element covered, destroys its
  // children and releases its bitmap, timer and handle. Safe to call twice.
  void Destroy();

  ExHandle Handle() const { return m_self; }
  HWND Window() const { return m_window; }
  ExHost* Host() const { return m_host; }
  ExHandle Parent() const;
  ExElement* ParentElement() const { return static_cast<ExElement*>(ParentNode()); }
  ExElement* FirstChild() const { return static_cast<ExElement*>(FirstChildNode()); }
  ExElement* LastChild() const { return static_cast<ExElement*>(LastChildNode()); }
  ExElement* NextSibling() const { return static_cast<ExElement*>(NextNode()); }
  ExElement* PreviousSibling() const { return static_cast<ExElement*>(PreviousNode()); }
  // Moves the element to the tail of the window's chain or of `parent`'s
  // children (same host only); false when it cannot.
  bool SetParent(HWND window);
  bool SetParent(ExHandle parent);

  const ExRectF& Rect() const { return m_rect; }
  // Where the element was before its last move, for recomposing that place.
  const ExRectF& PreviousRect() const { return m_previousRect; }
  // Changes only the given coordinates, and only those that differ from the
  // stored value by more than 1e-7. A new size recreates the bitmap, sends
  // EXM_SIZE and re-renders; any change tells the host (EXM_MOVED), which
  // recomposes the old and the new place.
  void Move(std::optional<double> x, std::optional<double> y, std::optional<double> width,
            std::optional<double> height);
  void SetRect(const ExRectF& rect) { Move(rect.x, rect.y, rect.width, rect.height); }
  float Left() const { return m_rect.x; }
  float Top() const { return m_rect.y; }
  float Width() const { return m_rect.width; }
  float Height() const { return m_rect.height; }
  void SetLeft(double x) { Move(x, {}, {}, {}); }
  void SetTop(double y) { Move({}, y, {}, {}); }
  void SetWidth(double width) { Move({}, {}, width, {}); }
  void SetHeight(double height) { Move({}, {}, {}, height); }

  bool Visible() const { return m_visible; }
  // Hiding or disabling releases the hover, press and focus the element or
  // its children hold, each with its whole clean-up.
  void SetVisible(bool visible);
  bool Disabled() const { return m_disabled; }
  void SetDisabled(bool disabled);
  bool Interactive() const { return m_interactive; }
  void SetInteractive(bool interactive) { m_interactive = interactive; }
  int Opacity() const { return m_opacity; }
  // Always notifies (EXM_OPACITY) and recomposes; clamped to 0..255.
  void SetOpacity(int opacity);
  int TypeCode() const { return m_typeCode; }
  int AnimationPeriod() const { return m_animationPeriod; }

  // The class may answer EXM_QUERYFOCUS; otherwise the host's focus decides.
  bool HasFocus();
  bool FocusedByKeyboard() const;

  const std::string& TooltipText() const { return m_tooltip; }
  // With `notify`, a tip already showing for this element changes at once;
  // otherwise the new text shows from the next hover on.
  void SetTooltipText(std::string text, bool notify = false);
  const std::string& Tag() const { return m_tag; }
  void SetTag(std::string tag) { m_tag = std::move(tag); }
  HCURSOR Cursor() const { return m_cursor; }
  void SetCursor(HCURSOR cursor) { m_cursor = cursor; }
  // A system cursor identifier such as 32649 (IDC_HAND).
  void SetCursorId(int id) { m_cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(id)); }

  // Stores (message, handler); binding a message again replaces its handler.
  void BindEvent(UINT message, ExEventHandler handler);

  // Re-renders the bitmap (WM_PAINT to the class) and recomposes the element.
  void Repaint();
  // Asks the host to recompose the element later (posted EXM_INVALIDATE).
  void Invalidate();
  // While locked, property changes do not recompose; unlocking recomposes.
  void LockRedraw() { m_redraw = false; }
  void UnlockRedraw();

  // Delivers through the host (EXM_POSTED): Send waits for the result, Post
  // returns at once and the message loop delivers later.
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
  bool Post(UINT message, WPARAM wParam, LPARAM lParam);

  // Z-order within its chain: the tail is drawn last and hit first.
  void BringToFront();
  void SendToBack();

  // A window timer on the host window whose identifier is the handle; each
  // tick reaches the class procedure and handlers as WM_TIMER.
  bool StartTimer(UINT periodMs);
  void StopTimer();

  // The element's own surface, owned by the element; valid until the next
  // size change or Destroy.
  Gdiplus::GpBitmap* Bitmap() const { return m_bitmap.Get(); }
  Gdiplus::GpGraphics* Graphics() const { return m_graphics.Get(); }

  // The class procedure first, then the first matching handler.
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  // Composition offers the element EXM_CUSTOMDRAW first.
  bool CustomDrawn() const { return m_customDraw; }

 protected:
  // The class message procedure. The base renders nothing and answers every
  // query with kExUndecided, and WM_KEYDOWN too, so the host handles Tab,
  // Enter and Space.
  virtual LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Recomposes the element's area now (when the host and redraw allow).
  void RedrawArea() const;
  // With custom drawing on, composition offers the element EXM_CUSTOMDRAW first.
  void EnableCustomDraw(bool enable) { m_customDraw = enable; }

 private:
  ExHandle CreateIn(HWND window, ExHost* host, ExElement* parent, const ExRectF& rect, const ExElementStyle& style);
  bool CreateBitmap();
  void Render();
  void DestroyAll(bool recompose);
  // Leaves the tree and gives back the handle, bitmap and timer.
  void Withdraw(bool recompose);

  HWND m_window = nullptr;
  ExHandle m_self = 0;
  bool m_visible = false;
  bool m_disabled = false;
  bool m_interactive = true;
  bool m_redraw = true;
  HCURSOR m_cursor = nullptr;  // shared system or application cursor: not destroyed here
  std::vector<std::pair<UINT, ExEventHandler>> m_events;
  ExRectF m_rect;
  ExRectF m_previousRect;  // before the last move, for EXM_MOVED
  std::string m_tooltip;
  std::string m_tag;
  int m_typeCode = 0;
  int m_animationPeriod = 0;
  UniqueGpBitmap m_bitmap;
  UniqueGpGraphics m_graphics;  // declared after the bitmap: released first
  ExHost* m_host = nullptr;
  int m_opacity = 255;
  bool m_timerRunning = false;
  bool m_customDraw = false;
};
