// The host's attachment and its window procedure: it unpacks each message
// and hands it to the part whose job it is.
#include "ExHost.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "ExFramework.h"
#include "ExImageLoader.h"
#include "ExLabel.h"
#include "ExStyleFlags.h"
#include "ExSystemButtons.h"

namespace {

constexpr wchar_t kHostProperty[] = L"Ex_Wnd_Control";
constexpr BYTE kOpaque = 255;

}  // namespace

ExHost::~ExHost() {
  if (m_state.window != nullptr) Teardown();
}

ExHost* ExHost::FromWindow(HWND window) {
  return window != nullptr ? static_cast<ExHost*>(GetPropW(window, kHostProperty)) : nullptr;
}

bool ExHost::Attach(HWND window, const void* image, size_t imageSize, const ExAttachOptions& options) {
  ExFramework* framework = ExFramework::Get();
  if (framework == nullptr || !IsWindow(window) || m_state.window != nullptr || FromWindow(window) != nullptr) {
    return false;
  }
  m_state.busy = true;
  const LONG originalStyle = GetWindowLongW(window, GWL_STYLE);
  const LONG originalExStyle = GetWindowLongW(window, GWL_EXSTYLE);
  TakeOptions(options, framework->OsMajorVersion(), originalStyle);
  const LONG style = ChooseStyleFlags(originalStyle, options.styleFlags);

  m_state.window = window;
  m_events.SetWindow(window);
  m_tree.SetWindow(window);
  SetPropW(window, kHostProperty, this);
  m_defaultCursor = framework->ArrowCursor();
  SetWindowLongW(window, GWL_STYLE, style);

  RECT bounds = {};
  GetWindowRect(window, &bounds);
  m_state.size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
  const bool ready = m_composer.Create() && m_thunk.Create(this, reinterpret_cast<WNDPROC>(&ExHost::ThunkProc));
  if (!ready) {
    Teardown();
    SetWindowLongW(window, GWL_STYLE, originalStyle);
    return false;
  }
  if (IsLayered()) SetWindowLongW(window, GWL_EXSTYLE, originalExStyle | WS_EX_LAYERED);
  m_previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_thunk.Procedure())));
  if (m_resizable) SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_THICKFRAME);
  // Let the new WM_NCCALCSIZE handling make the whole window client area.
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  m_caption.Create(window, m_state.styleFlags, m_state.size.width);
  if (ExLabel* title = m_caption.Title()) m_router.SetCaptionElement(title->Handle());
  m_tooltip.Create(window);  // the host works without tips
  m_composer.SetBackground(ExDecodeImage(image, imageSize));
  m_composer.RenderBackground();
  m_composer.ApplyWindowShape();
  m_state.busy = false;
  RedrawAll();
  return true;
}

void ExHost::TakeOptions(const ExAttachOptions& options, int osMajorVersion, LONG originalStyle) {
  ExComposerOptions picture;
  picture.layeredKey = options.layeredKey;
  picture.imageMode = options.imageMode;
  picture.stretchArea = options.stretchArea;
  picture.backgroundColour = options.backgroundColour;
  picture.theme = options.theme;
  // A blur wish counts for layered windows only; by default DWM blurs on 6.x.
  const bool layered = options.layeredKey != kExOpaqueKey;
  picture.blur = (options.blur && layered) ? *options.blur : osMajorVersion == 6;
  m_composer.Configure(picture);
  m_closeAnimation = options.closeAnimation;
  m_resizable = options.resizable.value_or((originalStyle & WS_THICKFRAME) != 0);
  m_router.SetResizable(m_resizable);
  m_router.SetDragAnywhere(options.dragAnywhere);
}

LONG ExHost::ChooseStyleFlags(LONG style, std::optional<unsigned> wanted) {
  unsigned& flags = m_state.styleFlags;
  if (!wanted || (*wanted & kExDefaultCaption)) {
    style |= WS_SYSMENU;
    flags = kExWindowIcon | kExTitleText | kExCloseButton;
    if (style & WS_MAXIMIZEBOX) flags |= kExMaximiseButton;
    if (style & WS_MINIMIZEBOX) flags |= kExMinimiseButton;
  } else {
    flags = *wanted;
  }
  flags |= kExAttached;
  // The host draws every pixel: no frame, and only the boxes it shows.
  style |= WS_POPUP;
  style &= ~(WS_THICKFRAME | WS_DLGFRAME | WS_BORDER);
  if (!(flags & kExMinimiseButton)) style &= ~WS_MINIMIZEBOX;
  if (!(flags & kExMaximiseButton)) style &= ~WS_MAXIMIZEBOX;
  return style;
}

void ExHost::Teardown() {
  m_tearingDown = true;
  HWND window = m_state.window;
  // Blocks posted to the window and not yet delivered would be lost with it.
  MSG pending;
  while (PeekMessageW(&pending, window, EXM_POSTED, EXM_POSTED, PM_REMOVE)) {
    if (pending.message == WM_QUIT) {  // PeekMessage returns it whatever the filter: put it back
      PostQuitMessage(static_cast<int>(pending.wParam));
      break;
    }
    delete reinterpret_cast<ExPostedMessage*>(pending.lParam);
  }
  while (ExElement* first = m_tree.First()) first->Destroy();
  m_caption.Reset();
  RemovePropW(window, kHostProperty);
  if (m_previousProc != nullptr && IsWindow(window)) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
  }
  m_thunk.Reset();
  m_tooltip.Reset();
  m_composer.Reset();
  m_accessKeys.Clear();
  m_messageHook = nullptr;
  m_events.Clear();
  m_events.SetWindow(nullptr);
  m_tree.Clear();
  m_tree.SetWindow(nullptr);
  m_router.Reset();
  m_previousProc = nullptr;
  m_state.window = nullptr;
  m_state.busy = false;
  m_tearingDown = false;
}

void ExHost::SetFocus(ExHandle element) {
  ExElement* target = ExElement::FromHandle(element);
  if (element == 0 || (target != nullptr && target->Host() == this)) m_tree.SetFocus(element, false);
}

bool ExHost::RebuildBackground(const void* image, size_t imageSize, ExImageMode mode, COLORREF colour) {
  if (m_state.window == nullptr) return false;
  m_composer.SetBackground(ExDecodeImage(image, imageSize), mode, colour);
  m_composer.RenderBackground();
  m_composer.ApplyWindowShape();
  RedrawAll();
  return imageSize == 0 || m_composer.HasBackgroundImage();
}

void ExHost::Redraw(const ExPixelRect& area) {
  if (m_state.window == nullptr || m_state.busy || m_tearingDown) return;
  const ExPixelRect clipped = Intersect(area, {0, 0, m_state.size.width, m_state.size.height});
  if (clipped.IsEmpty()) return;
  m_composer.Compose(clipped, m_tree.First());
  m_composer.Present(clipped);
}

void ExHost::Show(int animation, int durationMs) {
  if (m_state.window == nullptr) return;
  ExWindowAnimation::PumpPending();
  const ExSize size = m_state.size;
  if (animation == kExNoAnimation) {
    m_composer.ApplyBlur(6, 6, size.width - 5, size.height - 5);
    m_composer.ApplyWindowShape();
    ShowWindow(m_state.window, SW_SHOWNORMAL);
    return;
  }
  m_composer.Compose({0, 0, size.width, size.height}, m_tree.First());
  m_animation.RunShow(animation, durationMs > 0 ? durationMs : 200);
  if (m_state.window == nullptr) return;  // destroyed by a message handled meanwhile
  m_composer.RenderBackground();
  m_composer.ApplyWindowShape();
  RedrawAll();  // changes made while the animation ran were not composed
  RedrawWindow(m_state.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---- the window procedure ------------------------------------------------

LRESULT CALLBACK ExHost::ThunkProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  // The thunk put the host where the window handle was.
  return reinterpret_cast<ExHost*>(self)->HandleMessage(message, wParam, lParam);
}

LRESULT ExHost::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(m_previousProc, m_state.window, message, wParam, lParam);
}

LRESULT ExHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Kept for passing the message on: a handler below may end the host's
  // attachment (the window destroyed by an element's click handler).
  const HWND window = m_state.window;
  const WNDPROC previous = m_previousProc;
  if (m_messageHook) {
    const ExMessageHook hook = m_messageHook;  // a copy: the hook may replace itself
    const LRESULT hooked = hook(window, message, wParam, lParam);
    if (hooked != kExUndecided) return hooked;
  }
  switch (message) {
    case WM_DESTROY: {
      const LRESULT result = CallPrevious(message, wParam, lParam);
      Teardown();
      return result;
    }
    case WM_SIZE:
      OnSize(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_SETTEXT: {
      const LRESULT result = CallPrevious(message, wParam, lParam);
      m_caption.UpdateTitle(window);
      return result;
    }
    case WM_ACTIVATE:
      m_router.OnActivate(LOWORD(wParam) != WA_INACTIVE);
      break;
    case WM_PAINT:
      m_composer.Paint();
      return 0;
    case WM_CLOSE:
      OnClose();
      break;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_NCACTIVATE:
      return TRUE;
    case WM_NCCALCSIZE:
      return wParam ? 1 : 0;  // the rectangle stays: the whole window is client area
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_STYLECHANGED:
      OnStyleChanged(wParam, reinterpret_cast<STYLESTRUCT*>(lParam));
      break;
    case WM_KEYDOWN:
      if (m_router.OnKeyDown(wParam, lParam)) return 0;
      break;
    case WM_IME_COMPOSITION:
      // The focused element reads the result string itself; letting it through
      // as well would type it a second time as WM_IME_CHAR.
      if (m_tree.Focused() != 0) return m_router.ForwardToFocused(message, wParam, lParam), 0;
      break;
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_COMMAND:
    case WM_MOUSEWHEEL:
      m_router.ForwardToFocused(message, wParam, lParam);
      break;
    case WM_SYSCHAR:
      if (m_router.OnSysChar(wParam, lParam)) return 0;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      m_router.OnMouse(message, wParam, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      SendMessageW(window, WM_LBUTTONDOWN, EXM_DBLCLK_MARK, lParam);
      return 0;
    case WM_MOUSELEAVE:
      m_router.OnMouseLeave();
      return 0;
    case WM_CAPTURECHANGED:
      m_router.OnCaptureChanged(reinterpret_cast<HWND>(lParam));
      break;
    case WM_TIMER:
      if (OnTimer(wParam)) return 0;
      break;
    case EXM_SETFOCUS:
      SetFocus(static_cast<ExHandle>(lParam));
      return 0;
    case EXM_PRESENT:
      m_composer.Present({0, 0, m_state.size.width, m_state.size.height});
      return 0;
    case EXM_INVALIDATE:
      OnInvalidate(static_cast<ExHandle>(lParam));
      return 0;
    case EXM_MOVED:
      OnMoved(static_cast<ExHandle>(wParam), lParam == 1);
      return 0;
    case EXM_POSTED:
      return OnPosted(static_cast<ExHandle>(wParam), reinterpret_cast<ExPostedMessage*>(lParam));
    default:
      break;
  }
  if (!IsWindow(window)) return 0;
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

// ---- window messages -----------------------------------------------------
void ExHost::OnSize(int width, int height) {
  if (width <= 0 || height <= 0 || (width == m_state.size.width && height == m_state.size.height)) return;  // minimised
  m_state.size = {width, height};
  if (!m_composer.Resize()) return;
  m_composer.RenderBackground();
  m_composer.ApplyWindowShape();
  const bool busy = std::exchange(m_state.busy, true);  // one composition after every caption element moved
  m_caption.Place(m_state.styleFlags, width);
  m_state.busy = busy;
  RedrawAll();
}

void ExHost::OnClose() {
  const bool animate = m_closeAnimation != kExNoAnimation && IsWindowVisible(m_state.window);
  if (animate) m_animation.RunClose(m_closeAnimation);
  if (m_state.window == nullptr) return;
  ShowWindow(m_state.window, SW_HIDE);
  if (!animate) return;
  // The window may be shown again when the application keeps it: give it
  // back its own presentation, not the last, fully faded frame.
  if (IsLayered()) {
    m_composer.PresentLayered(m_composer.Canvas().Dc(), kOpaque);
  } else {
    m_composer.SetLayeredStyle(false);
  }
}

bool ExHost::OnSetCursor(HWND cursorWindow) {
  if (cursorWindow != m_state.window) return false;
  HCURSOR cursor = m_router.EdgeCursor();
  if (cursor == nullptr) {
    ExElement* hovered = ExElement::FromHandle(m_tree.Hovered());
    cursor = hovered != nullptr && hovered->Cursor() != nullptr ? hovered->Cursor() : m_defaultCursor;
  }
  ::SetCursor(cursor);
  return true;
}

void ExHost::OnGetMinMaxInfo(MINMAXINFO* info) const {
  RECT window = {};
  GetWindowRect(m_state.window, &window);
  POINT origin = {};
  const ExPixelRect work = ExWorkArea(window, &origin);
  // The maximised position counts from the top-left corner of the monitor
  // the window maximises on.
  const ExPixelRect placement =
      MaximisedPlacement({work.left - origin.x, work.top - origin.y, work.right - origin.x, work.bottom - origin.y});
  info->ptMaxPosition = {placement.left, placement.top};
  info->ptMaxSize = {placement.Width(), placement.Height()};
  // Windows clamps the maximised size to the largest tracking size.
  info->ptMaxTrackSize.x = std::max(info->ptMaxTrackSize.x, info->ptMaxSize.x);
  info->ptMaxTrackSize.y = std::max(info->ptMaxTrackSize.y, info->ptMaxSize.y);
  const ExSize minimum = MinimumTrackSize(m_state.styleFlags);
  info->ptMinTrackSize = {minimum.width, minimum.height};
}

void ExHost::OnStyleChanged(WPARAM which, STYLESTRUCT* style) {
  constexpr DWORD kFrame = WS_DLGFRAME | WS_BORDER;
  if (static_cast<int>(which) == GWL_STYLE && (style->styleNew & kFrame) != 0) {
    SetWindowLongW(m_state.window, GWL_STYLE, static_cast<LONG>(style->styleNew & ~kFrame));
  }
}

bool ExHost::OnTimer(WPARAM id) {
  ExElement* element = ExElement::FromHandle(static_cast<ExHandle>(id));
  if (element == nullptr || element->Host() != this) return false;
  element->Dispatch(WM_TIMER, id, 0);
  return true;
}

void ExHost::OnInvalidate(ExHandle handle) {
  ExElement* element = ExElement::FromHandle(handle);
  if (element != nullptr && element->Host() == this) Redraw(PixelBounds(element->Rect()));
}

LRESULT ExHost::OnPosted(ExHandle element, ExPostedMessage* block) {
  std::unique_ptr<ExPostedMessage> owned(block);
  if (!owned) return 0;
  return m_tree.SendTo(element, owned->message, owned->wParam, owned->lParam);
}

void ExHost::OnMoved(ExHandle handle, bool redraw) {
  ExElement* element = ExElement::FromHandle(handle);
  if (element == nullptr || element->Host() != this) return;
  const ExPixelRect before = PixelBounds(element->PreviousRect());
  element->Dispatch(EXM_MOVED, handle, redraw ? 1 : 0);
  element = ExElement::FromHandle(handle);
  if (!redraw || element == nullptr || !element->Visible()) return;
  const ExDamage damage = DamageOfMove(before, PixelBounds(element->Rect()));
  for (int i = 0; i < damage.count; ++i) Redraw(damage.areas[i]);
}
