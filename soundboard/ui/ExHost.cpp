#include "ExHost.h"

#include <commctrl.h>
#include <dwmapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "ExControlLogic.h"
#include "ExFramework.h"
#include "ExImage.h"
#include "ExImageLoader.h"
#include "ExLabel.h"
#include "ExStyleFlags.h"
#include "ExSystemButtons.h"
#include "ExTabOrder.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr wchar_t kHostProperty[] = L"Ex_Wnd_Control";
constexpr int kCaptionHeight = 30;  // a double click above this line maximises
constexpr BYTE kOpaque = 255;

ARGB OpaqueArgb(COLORREF colour) {
  return 0xFF000000u | (static_cast<ARGB>(GetRValue(colour)) << 16) | (static_cast<ARGB>(GetGValue(colour)) << 8) |
         GetBValue(colour);
}

// System cursor identifiers (IDC_SIZE...) of the resize zones.
int EdgeCursorId(ExEdge edge) {
  switch (edge) {
    case ExEdge::kLeft:
    case ExEdge::kRight:
      return 32644;
    case ExEdge::kTop:
    case ExEdge::kBottom:
      return 32645;
    case ExEdge::kTopLeft:
    case ExEdge::kBottomRight:
      return 32642;
    default:
      return 32643;
  }
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(window, &text[0], length + 1))));
  return text;
}

}  // namespace

// Out of line: the caption elements' classes are complete only here.
ExHost::ExHost() = default;

ExHost::~ExHost() {
  if (m_window != nullptr) Teardown();
}

ExHost* ExHost::FromWindow(HWND window) {
  return window != nullptr ? static_cast<ExHost*>(GetPropW(window, kHostProperty)) : nullptr;
}

bool ExHost::Attach(HWND window, const void* image, size_t imageSize, const ExAttachOptions& options) {
  ExFramework* framework = ExFramework::Get();
  if (framework == nullptr || !IsWindow(window) || m_window != nullptr || FromWindow(window) != nullptr) return false;
  m_busy = true;
  TakeOptions(options, framework->OsMajorVersion());
  const LONG originalStyle = GetWindowLongW(window, GWL_STYLE);
  const LONG originalExStyle = GetWindowLongW(window, GWL_EXSTYLE);
  m_resizable = options.resizable.value_or((originalStyle & WS_THICKFRAME) != 0);
  const LONG style = ChooseStyleFlags(originalStyle, options.styleFlags);

  m_window = window;
  m_events.SetWindow(window);
  m_tree.SetWindow(window);
  SetPropW(window, kHostProperty, this);
  m_defaultCursor = framework->ArrowCursor();
  SetWindowLongW(window, GWL_STYLE, style);

  RECT bounds = {};
  GetWindowRect(window, &bounds);
  m_size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
  m_windowDc = GetDC(window);
  const bool ready = m_windowDc != nullptr && CreateSurfaces() &&
                     GdipCreateImageAttributes(m_opacityAttributes.Put()) == Ok &&
                     m_thunk.Create(this, reinterpret_cast<WNDPROC>(&ExHost::ThunkProc));
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

  CreateCaptionElements();
  m_tooltip.Create(window);  // the host works without tips
  m_backgroundImage = ExDecodeImage(image, imageSize);
  RenderBackground();
  ApplyWindowShape();
  m_busy = false;
  RedrawAll();
  return true;
}

void ExHost::TakeOptions(const ExAttachOptions& options, int osMajorVersion) {
  m_layeredKey = options.layeredKey;
  m_imageMode = options.imageMode;
  m_stretchArea = options.stretchArea;
  m_backgroundColour = options.backgroundColour;
  m_closeAnimation = options.closeAnimation;
  m_theme = options.theme;
  m_dragAnywhere = options.dragAnywhere;
  // A blur wish counts for layered windows only; by default DWM blurs on 6.x.
  m_blur = (options.blur && IsLayered()) ? *options.blur : osMajorVersion == 6;
}

LONG ExHost::ChooseStyleFlags(LONG style, std::optional<unsigned> wanted) {
  if (!wanted || (*wanted & kExDefaultCaption)) {
    style |= WS_SYSMENU;
    m_styleFlags = kExWindowIcon | kExTitleText | kExCloseButton;
    if (style & WS_MAXIMIZEBOX) m_styleFlags |= kExMaximiseButton;
    if (style & WS_MINIMIZEBOX) m_styleFlags |= kExMinimiseButton;
  } else {
    m_styleFlags = *wanted;
  }
  m_styleFlags |= kExAttached;
  // The host draws every pixel: no frame, and only the boxes it shows.
  style |= WS_POPUP;
  style &= ~(WS_THICKFRAME | WS_DLGFRAME | WS_BORDER);
  if (!(m_styleFlags & kExMinimiseButton)) style &= ~WS_MINIMIZEBOX;
  if (!(m_styleFlags & kExMaximiseButton)) style &= ~WS_MAXIMIZEBOX;
  return style;
}

void ExHost::CreateCaptionElements() {
  const ExCaptionLayout layout = CaptionLayout(m_styleFlags, m_size.width);
  if (m_styleFlags & kExWindowIcon) {
    m_iconElement = std::make_unique<ExImage>();
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(m_window, GCLP_HICONSM));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrW(m_window, GCLP_HICON));
    m_iconElement->Create(m_window, layout.icon, icon, ExDrawMode::kFit);
  }
  if (m_styleFlags & kExTitleText) {
    ExLabelOptions options;
    options.textColour = 0xFAFFFFFF;
    options.lineAlignment = StringAlignmentCenter;
    m_titleElement = std::make_unique<ExLabel>();
    m_titleElement->Create(m_window, layout.title, "", options);
    m_titleElement->SetWideText(WindowText(m_window));
  }
  if (layout.buttonCount > 0) {
    m_systemButtons = std::make_unique<ExSystemButtons>();
    m_systemButtons->Create(m_window, layout.buttons, m_styleFlags);
  }
}

void ExHost::PlaceCaptionElements() {
  const ExCaptionLayout layout = CaptionLayout(m_styleFlags, m_size.width);
  if (m_titleElement) m_titleElement->SetRect(layout.title);
  if (m_systemButtons) {
    m_systemButtons->SetRect(layout.buttons);
    m_systemButtons->Repaint();  // maximise and restore swap glyphs
  }
}

void ExHost::OnSetText() {
  if (m_titleElement) m_titleElement->SetWideText(WindowText(m_window));
}

bool ExHost::CreateSurfaces() {
  if (!m_canvas.Create(m_size.width, m_size.height) || !m_background.Create(m_size.width, m_size.height)) {
    return false;
  }
  // The skin is stretched here, once per size: smooth sampling is worth it.
  GdipSetInterpolationMode(m_background.Graphics(), InterpolationModeHighQualityBilinear);
  return ExFramework::Get()->GrowScratch(m_size.width, m_size.height);
}

void ExHost::Teardown() {
  m_tearingDown = true;
  HWND window = m_window;
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
  m_iconElement.reset();
  m_titleElement.reset();
  m_systemButtons.reset();
  RemovePropW(window, kHostProperty);
  if (m_previousProc != nullptr && IsWindow(window)) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
  }
  m_thunk.Reset();
  m_tooltip.Reset();
  if (m_windowDc != nullptr) ReleaseDC(window, m_windowDc);  // needs the window: not a UniqueHandle
  m_windowDc = nullptr;
  m_canvas.Reset();
  m_background.Reset();
  m_backgroundImage.Reset();
  m_opacityAttributes.Reset();
  m_accessKeys.clear();
  m_messageHook = nullptr;
  m_events.Clear();
  m_window = nullptr;
  m_previousProc = nullptr;
  m_tree.Clear();
  m_tree.SetWindow(nullptr);
  m_events.SetWindow(nullptr);
  m_busy = m_trackingLeave = false;
  m_edgeCursor = nullptr;
  m_tearingDown = false;
}

void ExHost::SetCallback(ExHostEvent event, ExHostCallback callback) {
  m_events.Set(event, std::move(callback));
}

void ExHost::SetFocus(ExHandle element) {
  ExElement* target = ExElement::FromHandle(element);
  if (element == 0 || (target != nullptr && target->Host() == this)) m_tree.SetFocus(element, false);
}

// ---- background, shape and presentation ----------------------------------

bool ExHost::RebuildBackground(const void* image, size_t imageSize, ExImageMode mode, COLORREF colour) {
  if (m_window == nullptr) return false;
  m_backgroundImage = ExDecodeImage(image, imageSize);
  m_imageMode = mode;
  m_backgroundColour = colour;
  RenderBackground();
  ApplyWindowShape();
  RedrawAll();
  return imageSize == 0 || m_backgroundImage;
}

void ExHost::RenderBackground() {
  GpGraphics* graphics = m_background.Graphics();
  if (graphics == nullptr) return;
  const int width = m_size.width;
  const int height = m_size.height;
  GdipGraphicsClear(graphics, OpaqueArgb(m_backgroundColour));
  if (!m_backgroundImage) return;

  UniqueRegion rounded(CreateRoundRectRgn(0, 0, width + 1, height + 1, 5, 5));
  UniqueGpRegion clip;
  if (rounded && GdipCreateRegionHrgn(rounded.Get(), clip.Put()) == Ok) {
    GdipSetClipRegion(graphics, clip.Get(), CombineModeReplace);
  }
  const ExPixelRect inner{5, 5, width - 5, height - 5};
  GdipSetClipRectI(graphics, inner.left, inner.top, inner.Width(), inner.Height(), CombineModeIntersect);
  UINT imageWidth = 0;
  UINT imageHeight = 0;
  GdipGetImageWidth(m_backgroundImage.Get(), &imageWidth);
  GdipGetImageHeight(m_backgroundImage.Get(), &imageHeight);
  GpImage* image = m_backgroundImage.Get();
  switch (m_imageMode) {
    case ExImageMode::kStretch: {
      const int right = m_stretchArea ? m_stretchArea->width - 5 : inner.right;
      const int bottom = m_stretchArea ? m_stretchArea->height - 5 : inner.bottom;
      GdipDrawImageRectI(graphics, image, inner.left, inner.top, right - inner.left, bottom - inner.top);
      break;
    }
    case ExImageMode::kCentre: {
      const int x = inner.left + (inner.Width() - static_cast<int>(imageWidth)) / 2;
      const int y = inner.top + (inner.Height() - static_cast<int>(imageHeight)) / 2;
      GdipDrawImageRectI(graphics, image, x, y, imageWidth, imageHeight);
      UniqueGpPen frame;
      if (GdipCreatePen1(OpaqueArgb(m_backgroundColour), 1.0f, UnitPixel, frame.Put()) == Ok) {
        GdipDrawRectangleI(graphics, frame.Get(), x - 1, y - 1, imageWidth + 1, imageHeight + 1);
      }
      break;
    }
    default:
      GdipDrawImageRectI(graphics, image, inner.left, inner.top, imageWidth, imageHeight);
      break;
  }
  GdipResetClip(graphics);
}

void ExHost::ApplyWindowShape() {
  if (IsLayered()) return;  // the canvas alpha shapes a layered window
  const int inset = IsZoomed(m_window) ? 5 : 6;
  const int corner = m_theme == 0 ? 0 : 5;
  UniqueRegion region(corner == 0
                          ? CreateRectRgn(inset, inset, m_size.width - 5, m_size.height - 5)
                          : CreateRoundRectRgn(inset, inset, m_size.width - 5, m_size.height - 5, corner, corner));
  // The window owns the region once SetWindowRgn succeeds.
  if (region && SetWindowRgn(m_window, region.Get(), TRUE)) region.Release();
}

bool ExHost::BlurApplies() const {
  return m_blur && ExFramework::Get()->OsMajorVersion() == 6 && m_theme != 1 && IsLayered();
}

void ExHost::ApplyBlur(int left, int top, int right, int bottom) {
  if (!BlurApplies()) return;
  BOOL composition = FALSE;
  if (FAILED(DwmIsCompositionEnabled(&composition)) || !composition) return;
  UniqueRegion region(CreateRoundRectRgn(left, top, right, bottom, 6, 6));
  DWM_BLURBEHIND blur = {};
  blur.dwFlags = DWM_BB_ENABLE | DWM_BB_BLURREGION;
  blur.fEnable = TRUE;
  blur.hRgnBlur = region.Get();
  blur.fTransitionOnMaximized = FALSE;
  DwmEnableBlurBehindWindow(m_window, &blur);
}

void ExHost::Redraw(const ExPixelRect& area) {
  if (m_window == nullptr || m_busy || m_tearingDown) return;
  const ExPixelRect clipped = Intersect(area, {0, 0, m_size.width, m_size.height});
  if (clipped.IsEmpty()) return;
  Compose(clipped);
  Present(clipped);
}

void ExHost::Compose(const ExPixelRect& area) {
  GpGraphics* graphics = m_canvas.Graphics();
  if (graphics == nullptr) return;
  BitBlt(m_canvas.Dc(), area.left, area.top, area.Width(), area.Height(), m_background.Dc(), area.left, area.top,
         SRCCOPY);
  GdiFlush();  // GDI is done with the pixels before GDI+ draws on them
  GdipSetClipRectI(graphics, area.left, area.top, area.Width(), area.Height(), CombineModeReplace);
  DrawChain(m_tree.First(), area);
  GdipResetClip(graphics);
  m_pixelsRecomposed += area.Area();
}

void ExHost::DrawChain(ExElement* first, const ExPixelRect& clip) {
  GpGraphics* graphics = m_canvas.Graphics();
  for (ExElement* element = first; element != nullptr; element = element->NextSibling()) {
    if (!element->Visible()) continue;
    const ExPixelRect covered = Intersect(PixelBounds(element->Rect()), clip);
    if (covered.IsEmpty()) continue;
    DrawElement(*element, clip);
    if (element->FirstChild() == nullptr) continue;
    // Children never paint outside their parent.
    GdipSetClipRectI(graphics, covered.left, covered.top, covered.Width(), covered.Height(), CombineModeReplace);
    DrawChain(element->FirstChild(), covered);
    GdipSetClipRectI(graphics, clip.left, clip.top, clip.Width(), clip.Height(), CombineModeReplace);
  }
}

void ExHost::DrawElement(ExElement& element, const ExPixelRect& clip) {
  GpBitmap* bitmap = element.Bitmap();
  if (element.TypeCode() == kExTypeContainer || bitmap == nullptr) return;
  GpGraphics* graphics = m_canvas.Graphics();
  int opacity = element.Opacity();
  if (element.Disabled()) {
    if (element.Dispatch(EXM_DRAWSDISABLED, 0, 0) == kExUndecided) opacity /= 2;
  } else if (element.CustomDrawn()) {
    ExDrawRecord record{m_canvas.Dc(), graphics, &ExFramework::Get()->Scratch(), bitmap, element.Rect(), clip};
    if (element.Dispatch(EXM_CUSTOMDRAW, 0, reinterpret_cast<LPARAM>(&record)) >= 1) return;
  }
  if (opacity <= 0) return;
  UINT width = 0;
  UINT height = 0;
  GdipGetImageWidth(bitmap, &width);
  GdipGetImageHeight(bitmap, &height);
  const ExRectF& place = element.Rect();
  if (opacity >= 255) {
    GdipDrawImageRect(graphics, bitmap, place.x, place.y, static_cast<REAL>(width), static_cast<REAL>(height));
    return;
  }
  ColorMatrix matrix = {};
  for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1.0f;
  matrix.m[3][3] = opacity / 255.0f;
  GdipSetImageAttributesColorMatrix(m_opacityAttributes.Get(), ColorAdjustTypeDefault, TRUE, &matrix, nullptr,
                                    ColorMatrixFlagsDefault);
  GdipDrawImageRectRect(graphics, bitmap, place.x, place.y, static_cast<REAL>(width), static_cast<REAL>(height), 0, 0,
                        static_cast<REAL>(width), static_cast<REAL>(height), UnitPixel, m_opacityAttributes.Get(),
                        nullptr, nullptr);
}

void ExHost::Present(const ExPixelRect& area) {
  GdiFlush();
  if (IsLayered()) {
    PresentLayered(m_canvas.Dc(), kOpaque);
  } else {
    BitBlt(m_windowDc, area.left, area.top, area.Width(), area.Height(), m_canvas.Dc(), area.left, area.top, SRCCOPY);
  }
}

void ExHost::PresentLayered(HDC source, BYTE alpha) {
  POINT origin = {0, 0};
  SIZE size = {m_size.width, m_size.height};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  UpdateLayeredWindow(m_window, nullptr, nullptr, &size, source, &origin, 0, &blend, ULW_ALPHA);
}

// ---- the window procedure ------------------------------------------------

LRESULT CALLBACK ExHost::ThunkProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  // The thunk put the host where the window handle was.
  return reinterpret_cast<ExHost*>(self)->HandleMessage(message, wParam, lParam);
}

LRESULT ExHost::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(m_previousProc, m_window, message, wParam, lParam);
}

LRESULT ExHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Kept for passing the message on: a handler below may end the host's
  // attachment (the window destroyed by an element's click handler).
  const HWND window = m_window;
  const WNDPROC previous = m_previousProc;
  if (m_messageHook) {
    const ExMessageHook hook = m_messageHook;  // a copy: the hook may replace itself
    const LRESULT hooked = hook(m_window, message, wParam, lParam);
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
      OnSetText();
      return result;
    }
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      break;
    case WM_PAINT:
      OnPaint();
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
      return OnKeyDown(wParam, lParam);
    case WM_IME_COMPOSITION:
      // The focused element reads the result string itself; letting it through
      // as well would type it a second time as WM_IME_CHAR.
      if (m_tree.Focused() != 0) return ForwardToFocused(message, wParam, lParam), 0;
      break;
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_COMMAND:
    case WM_MOUSEWHEEL:
      ForwardToFocused(message, wParam, lParam);
      break;
    case WM_SYSCHAR:
      if (OnSysChar(wParam, lParam)) return 0;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      OnMouse(message, wParam, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      SendMessageW(m_window, WM_LBUTTONDOWN, EXM_DBLCLK_MARK, lParam);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(reinterpret_cast<HWND>(lParam));
      break;
    case WM_TIMER:
      if (OnTimer(wParam)) return 0;
      break;
    case EXM_SETFOCUS:
      SetFocus(static_cast<ExHandle>(lParam));
      return 0;
    case EXM_PRESENT:
      Present({0, 0, m_size.width, m_size.height});
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
  if (width <= 0 || height <= 0 || (width == m_size.width && height == m_size.height)) return;  // minimised
  m_size = {width, height};
  if (!CreateSurfaces()) return;
  RenderBackground();
  ApplyWindowShape();
  const bool busy = std::exchange(m_busy, true);  // one composition after every caption element moved
  PlaceCaptionElements();
  m_busy = busy;
  RedrawAll();
}

void ExHost::OnActivate(bool active) {
  if (active) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_window, 0};
    m_trackingLeave = TrackMouseEvent(&track) != FALSE;
    if (m_tree.Focused() != 0) m_tree.SendTo(m_tree.Focused(), EXM_SETFOCUS, 0, 0);
    return;
  }
  m_tree.SetHover(0);
  if (m_tree.Focused() != 0) m_tree.SendTo(m_tree.Focused(), EXM_KILLFOCUS, 0, 0);
  m_tree.DropCapture();
}

void ExHost::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_window, &paint);
  if (dc == nullptr) return;
  const RECT& dirty = paint.rcPaint;
  BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, m_canvas.Dc(), dirty.left,
         dirty.top, SRCCOPY);
  EndPaint(m_window, &paint);
}

void ExHost::OnClose() {
  const bool animate = m_closeAnimation != kExNoAnimation && IsWindowVisible(m_window);
  if (animate) RunCloseAnimation();
  if (m_window == nullptr) return;
  ShowWindow(m_window, SW_HIDE);
  if (!animate) return;
  // The window may be shown again when the application keeps it: give it
  // back its own presentation, not the last, fully faded frame.
  if (IsLayered()) {
    PresentLayered(m_canvas.Dc(), kOpaque);
  } else {
    SetLayeredStyle(false);
  }
}

bool ExHost::OnSetCursor(HWND cursorWindow) {
  if (cursorWindow != m_window) return false;
  HCURSOR cursor = m_edgeCursor;
  if (cursor == nullptr) {
    ExElement* hovered = ExElement::FromHandle(m_tree.Hovered());
    cursor = hovered != nullptr && hovered->Cursor() != nullptr ? hovered->Cursor() : m_defaultCursor;
  }
  ::SetCursor(cursor);
  return true;
}

void ExHost::OnGetMinMaxInfo(MINMAXINFO* info) const {
  RECT window = {};
  GetWindowRect(m_window, &window);
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
  const ExSize minimum = MinimumTrackSize(m_styleFlags);
  info->ptMinTrackSize = {minimum.width, minimum.height};
}

void ExHost::OnStyleChanged(WPARAM which, STYLESTRUCT* style) {
  constexpr DWORD kFrame = WS_DLGFRAME | WS_BORDER;
  if (static_cast<int>(which) == GWL_STYLE && (style->styleNew & kFrame) != 0) {
    SetWindowLongW(m_window, GWL_STYLE, static_cast<LONG>(style->styleNew & ~kFrame));
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

// ---- keyboard --------------------------------------------------------------

LRESULT ExHost::ForwardToFocused(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_tree.Focused() != 0 ? m_tree.SendTo(m_tree.Focused(), message, wParam, lParam) : 0;
}

LRESULT ExHost::OnKeyDown(WPARAM wParam, LPARAM lParam) {
  const ExHandle focused = m_tree.Focused();
  if (focused != 0 && m_tree.SendTo(focused, WM_KEYDOWN, wParam, lParam) != kExUndecided) return 0;
  if (wParam == VK_TAB) {
    ExElement* next = m_tree.NextInTabOrder(ExElement::FromHandle(m_tree.Focused()));
    if (next != nullptr) m_tree.SetFocus(next->Handle(), true);
    return 0;
  }
  if (wParam == VK_RETURN || wParam == VK_SPACE) {
    ExElement* element = ExElement::FromHandle(focused);
    if (element != nullptr && element->Visible() && !element->Disabled()) {
      ClickElement(focused, 0, 0);
      return 0;
    }
  }
  return CallPrevious(WM_KEYDOWN, wParam, lParam);
}

void ExHost::SetAccessKey(ExHandle element, wchar_t key) {
  auto registered = std::find_if(m_accessKeys.begin(), m_accessKeys.end(),
                                 [element](const AccessKey& entry) { return entry.element == element; });
  if (key == 0) {
    if (registered != m_accessKeys.end()) m_accessKeys.erase(registered);
  } else if (registered != m_accessKeys.end()) {
    registered->key = key;
  } else {
    m_accessKeys.push_back({element, key});
  }
}

bool ExHost::OnSysChar(WPARAM wParam, LPARAM lParam) {
  if (ForwardToFocused(WM_SYSCHAR, wParam, lParam) != 0) return true;
  const auto upper = [](wchar_t c) { return reinterpret_cast<std::uintptr_t>(CharUpperW(MAKEINTRESOURCEW(c))); };
  for (const AccessKey& entry : m_accessKeys) {
    ExElement* element = ExElement::FromHandle(entry.element);
    if (element == nullptr || !element->Visible() || element->Disabled()) continue;
    if (upper(entry.key) != upper(static_cast<wchar_t>(wParam))) continue;
    ClickElement(entry.element, 0, 0);
    return true;
  }
  return false;  // Alt+Space and friends stay with the system
}

// ---- mouse -----------------------------------------------------------------

void ExHost::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_busy) return;
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  if (message == WM_MOUSEMOVE && !m_trackingLeave) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_window, 0};
    m_trackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  if ((message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN) && OnEdge(message, x, y)) return;
  if (m_tree.Pressed() != 0) {
    OnPressedMouse(message, wParam, lParam);
    return;
  }
  ExElement* hitElement = HitTest(x, y);
  const ExHandle hit = hitElement != nullptr ? hitElement->Handle() : 0;
  m_tree.SetHover(hit);
  switch (message) {
    case WM_LBUTTONDOWN:
      OnLeftPress(hit, wParam, lParam);
      break;
    case WM_RBUTTONDOWN:
      if (hit != 0) m_events.Notify(ExHostEvent::kRightPress, hit, wParam, lParam);
      break;
    case WM_RBUTTONUP:
      if (hit != 0) m_events.Notify(ExHostEvent::kRightRelease, hit, wParam, lParam);
      break;
    case WM_MOUSEMOVE:
      if (hit != 0) m_events.Notify(ExHostEvent::kMouseMove, hit, wParam, lParam);
      break;
    default:
      break;
  }
  if (hit != 0) m_tree.SendTo(hit, message, wParam, lParam);
}

bool ExHost::OnEdge(UINT message, int x, int y) {
  m_edgeCursor = nullptr;
  if (!m_resizable || m_tree.Pressed() != 0 || IsZoomed(m_window)) return false;
  const ExEdge edge = EdgeAt(x, y, m_size.width, m_size.height);
  if (edge == ExEdge::kNone) return false;
  m_tree.SetHover(0);
  m_edgeCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(EdgeCursorId(edge)));
  ::SetCursor(m_edgeCursor);
  if (message == WM_LBUTTONDOWN) {
    SendMessageW(m_window, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(edge), static_cast<LPARAM>(GetMessagePos()));
  }
  return true;
}

void ExHost::OnLeftPress(ExHandle hit, WPARAM wParam, LPARAM lParam) {
  ::SetFocus(m_window);
  ExElement* element = ExElement::FromHandle(hit);
  const bool takesPress =
      element != nullptr && (element->Interactive() || element->Dispatch(EXM_WANTPRESS, 0, 0) != kExUndecided);
  if (takesPress) {
    m_events.Notify(ExHostEvent::kPress, hit, wParam, lParam);
    m_tree.StartPress(hit);
    element = ExElement::FromHandle(hit);
    if (element != nullptr && element->Interactive() && m_tree.Focused() != hit) m_tree.SetFocus(hit, false);
    if (wParam == EXM_DBLCLK_MARK) m_events.Notify(ExHostEvent::kDoubleClick, hit, wParam, lParam);
    return;
  }
  // The background, or an element that takes no press (a label over the
  // caption): the press belongs to the window.
  const bool onCaption = GET_Y_LPARAM(lParam) < kCaptionHeight || (m_titleElement && hit == m_titleElement->Handle());
  if (wParam == EXM_DBLCLK_MARK && onCaption && (m_styleFlags & kExMaximiseButton)) {
    PostMessageW(m_window, WM_SYSCOMMAND, IsZoomed(m_window) ? SC_RESTORE : SC_MAXIMIZE, 0);
  } else if (m_dragAnywhere) {
    SendMessageW(m_window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
}

void ExHost::OnPressedMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const ExHandle pressed = m_tree.Pressed();
  if (message != WM_LBUTTONUP) {
    m_tree.SendTo(pressed, message, wParam, lParam);
    return;
  }
  m_tree.EndPress();
  m_events.Notify(ExHostEvent::kRelease, pressed, wParam, lParam);
  m_tree.SendTo(pressed, WM_LBUTTONUP, wParam, lParam);
  ExElement* hitElement = HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const ExHandle hit = hitElement != nullptr ? hitElement->Handle() : 0;
  if (hit == pressed) {
    ClickElement(pressed, 0, lParam);
    return;
  }
  // Released elsewhere: no click; the pointer has left the pressed element.
  m_tree.SetHover(hit);
}

void ExHost::OnMouseLeave() {
  m_trackingLeave = false;
  m_tree.DropCapture();
  m_tree.SetHover(0);
}

void ExHost::OnCaptureChanged(HWND newCapture) {
  if (m_tree.Pressed() == 0 || newCapture == m_window) return;
  // Capture taken away mid-press (another window, a menu): the release will
  // not come, so the press ends here without a click.
  m_tree.EndPress();
  m_tree.SetHover(0);
}

void ExHost::ClickElement(ExHandle element, WPARAM wParam, LPARAM lParam) {
  m_tree.SendTo(element, EXM_CLICK, wParam, lParam);
  m_events.Notify(ExHostEvent::kClick, element, wParam, lParam);
}

// ---- show and close animations --------------------------------------------

void ExHost::PumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {  // not ours to swallow: the message loop ends on it
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void ExHost::SetLayeredStyle(bool layered) {
  const LONG exStyle = GetWindowLongW(m_window, GWL_EXSTYLE);
  SetWindowLongW(m_window, GWL_EXSTYLE, layered ? exStyle | WS_EX_LAYERED : exStyle & ~WS_EX_LAYERED);
}

void ExHost::DrawAnimationFrame(const ExRectF& place, BYTE alpha) {
  ExSurface& scratch = ExFramework::Get()->Scratch();
  GpGraphics* graphics = scratch.Graphics();
  GdipResetClip(graphics);
  GdipGraphicsClear(graphics, 0x00FFFFFF);
  GdipSetInterpolationMode(graphics, InterpolationModeBilinear);
  GdipDrawImageRect(graphics, m_canvas.Image(), place.x, place.y, place.width, place.height);
  GdiFlush();
  PresentLayered(scratch.Dc(), alpha);
}

void ExHost::Show(int animation, int durationMs) {
  if (m_window == nullptr) return;
  PumpPending();
  if (animation == kExNoAnimation) {
    ApplyBlur(6, 6, m_size.width - 5, m_size.height - 5);
    ApplyWindowShape();
    ShowWindow(m_window, SW_SHOWNORMAL);
    return;
  }
  RunShowAnimation(animation, durationMs > 0 ? durationMs : 200);
  if (m_window == nullptr) return;  // destroyed by a message handled meanwhile
  RenderBackground();
  ApplyWindowShape();
  RedrawAll();  // changes made while the animation ran were not composed
  RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void ExHost::RunShowAnimation(int animation, int durationMs) {
  constexpr int kSteps = 10;
  const bool wasOpaque = !IsLayered();
  Compose({0, 0, m_size.width, m_size.height});
  m_busy = true;
  if (wasOpaque) SetLayeredStyle(true);
  const float width = static_cast<float>(m_size.width);
  const float height = static_cast<float>(m_size.height);
  DrawAnimationFrame({0, 0, width, height}, 0);  // nothing visible until the first step
  ShowWindow(m_window, SW_SHOWNORMAL);
  ApplyBlur(0, 0, 0, 0);
  for (int step = 1; step <= kSteps; ++step) {
    const BYTE alpha = static_cast<BYTE>(25 * (step - 1));
    ExRectF place{0, 0, width, height};
    DWORD waitMs = static_cast<DWORD>(durationMs / kSteps);
    if (animation != kExFade) {
      // Zoom in from 82 % of the size (kExZoomIn); other types grow from 90 %.
      const float share = animation == kExZoomIn ? 0.1f / kSteps * (kSteps - step) : 0.05f / kSteps * (kSteps - step);
      place = {width * share, height * share, width * (1 - 2 * share), height * (1 - 2 * share)};
      if (animation == kExZoomIn) waitMs = static_cast<DWORD>(std::min(10, 11 - step));
    }
    DrawAnimationFrame(place, alpha);
    Sleep(waitMs);
    PumpPending();
    if (m_window == nullptr) return;  // destroyed by a message handled meanwhile
  }
  PresentLayered(m_canvas.Dc(), kOpaque);
  ApplyBlur(6, 6, m_size.width - 5, m_size.height - 5);
  if (wasOpaque) SetLayeredStyle(false);
  m_busy = false;
}

void ExHost::RunCloseAnimation() {
  m_busy = true;
  if (!IsLayered()) SetLayeredStyle(true);
  ApplyBlur(0, 0, 0, 0);
  const float width = static_cast<float>(m_size.width);
  const float height = static_cast<float>(m_size.height);
  const bool zoom = m_closeAnimation == kExZoomFade;
  const int steps = zoom ? 20 : 15;
  for (int step = 1; step <= steps; ++step) {
    ExRectF place{0, 0, width, height};
    int alpha = 255 - 17 * step;
    if (zoom) {
      alpha = 255 - 12 * step;
      const float inset = 1.5f * step;
      place = {inset, inset, width - 2 * inset, height - 2 * inset};
    } else if (m_closeAnimation != kExFade) {
      const float inset = 0.5f * step;  // a gentle shrink while fading
      place = {inset, inset, width - 2 * inset, height - 2 * inset};
    }
    DrawAnimationFrame(place, static_cast<BYTE>(std::max(0, alpha)));
    Sleep(10);
    PumpPending();
    if (m_window == nullptr) return;  // destroyed by a message handled meanwhile
  }
  m_busy = false;
}
