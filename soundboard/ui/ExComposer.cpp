#include "ExComposer.h"

#include <dwmapi.h>

#include "ExElement.h"
#include "ExFramework.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr BYTE kOpaque = 255;

ARGB OpaqueArgb(COLORREF colour) {
  return 0xFF000000u | (static_cast<ARGB>(GetRValue(colour)) << 16) | (static_cast<ARGB>(GetGValue(colour)) << 8) |
         GetBValue(colour);
}

}  // namespace

bool ExComposer::Create() {
  m_dcWindow = m_state.window;
  m_windowDc = GetDC(m_dcWindow);
  return m_windowDc != nullptr && CreateSurfaces() && GdipCreateImageAttributes(m_opacityAttributes.Put()) == Ok;
}

void ExComposer::Reset() {
  if (m_windowDc != nullptr) ReleaseDC(m_dcWindow, m_windowDc);  // needs the window: not a UniqueHandle
  m_windowDc = nullptr;
  m_dcWindow = nullptr;
  m_canvas.Reset();
  m_background.Reset();
  m_backgroundImage.Reset();
  m_opacityAttributes.Reset();
}

bool ExComposer::Resize() {
  return CreateSurfaces();
}

bool ExComposer::CreateSurfaces() {
  const ExSize size = m_state.size;
  if (!m_canvas.Create(size.width, size.height) || !m_background.Create(size.width, size.height)) return false;
  // The skin is stretched here, once per size: smooth sampling is worth it.
  GdipSetInterpolationMode(m_background.Graphics(), InterpolationModeHighQualityBilinear);
  return ExFramework::Get()->GrowScratch(size.width, size.height);
}

void ExComposer::SetBackground(UniqueGpBitmap image, ExImageMode mode, COLORREF colour) {
  m_backgroundImage = std::move(image);
  m_options.imageMode = mode;
  m_options.backgroundColour = colour;
}

void ExComposer::RenderBackground() {
  GpGraphics* graphics = m_background.Graphics();
  if (graphics == nullptr) return;
  const int width = m_state.size.width;
  const int height = m_state.size.height;
  GdipGraphicsClear(graphics, OpaqueArgb(m_options.backgroundColour));
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
  switch (m_options.imageMode) {
    case ExImageMode::kStretch: {
      const std::optional<ExSize>& area = m_options.stretchArea;
      const int right = area ? area->width - 5 : inner.right;
      const int bottom = area ? area->height - 5 : inner.bottom;
      GdipDrawImageRectI(graphics, image, inner.left, inner.top, right - inner.left, bottom - inner.top);
      break;
    }
    case ExImageMode::kCentre: {
      const int x = inner.left + (inner.Width() - static_cast<int>(imageWidth)) / 2;
      const int y = inner.top + (inner.Height() - static_cast<int>(imageHeight)) / 2;
      GdipDrawImageRectI(graphics, image, x, y, imageWidth, imageHeight);
      UniqueGpPen frame;
      if (GdipCreatePen1(OpaqueArgb(m_options.backgroundColour), 1.0f, UnitPixel, frame.Put()) == Ok) {
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

void ExComposer::ApplyWindowShape() {
  if (IsLayered()) return;  // the canvas alpha shapes a layered window
  const HWND window = m_state.window;
  const ExSize size = m_state.size;
  const int inset = IsZoomed(window) ? 5 : 6;
  const int corner = m_options.theme == 0 ? 0 : 5;
  UniqueRegion region(corner == 0 ? CreateRectRgn(inset, inset, size.width - 5, size.height - 5)
                                  : CreateRoundRectRgn(inset, inset, size.width - 5, size.height - 5, corner, corner));
  // The window owns the region once SetWindowRgn succeeds.
  if (region && SetWindowRgn(window, region.Get(), TRUE)) region.Release();
}

bool ExComposer::BlurApplies() const {
  return m_options.blur && ExFramework::Get()->OsMajorVersion() == 6 && m_options.theme != 1 && IsLayered();
}

void ExComposer::ApplyBlur(int left, int top, int right, int bottom) {
  if (!BlurApplies()) return;
  BOOL composition = FALSE;
  if (FAILED(DwmIsCompositionEnabled(&composition)) || !composition) return;
  UniqueRegion region(CreateRoundRectRgn(left, top, right, bottom, 6, 6));
  DWM_BLURBEHIND blur = {};
  blur.dwFlags = DWM_BB_ENABLE | DWM_BB_BLURREGION;
  blur.fEnable = TRUE;
  blur.hRgnBlur = region.Get();
  blur.fTransitionOnMaximized = FALSE;
  DwmEnableBlurBehindWindow(m_state.window, &blur);
}

void ExComposer::SetLayeredStyle(bool layered) {
  const LONG exStyle = GetWindowLongW(m_state.window, GWL_EXSTYLE);
  SetWindowLongW(m_state.window, GWL_EXSTYLE, layered ? exStyle | WS_EX_LAYERED : exStyle & ~WS_EX_LAYERED);
}

void ExComposer::Compose(const ExPixelRect& area, ExElement* first) {
  GpGraphics* graphics = m_canvas.Graphics();
  if (graphics == nullptr) return;
  BitBlt(m_canvas.Dc(), area.left, area.top, area.Width(), area.Height(), m_background.Dc(), area.left, area.top,
         SRCCOPY);
  GdiFlush();  // GDI is done with the pixels before GDI+ draws on them
  GdipSetClipRectI(graphics, area.left, area.top, area.Width(), area.Height(), CombineModeReplace);
  DrawChain(first, area);
  GdipResetClip(graphics);
  m_pixelsRecomposed += area.Area();
}

void ExComposer::DrawChain(ExElement* first, const ExPixelRect& clip) {
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

void ExComposer::DrawElement(ExElement& element, const ExPixelRect& clip) {
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

void ExComposer::Present(const ExPixelRect& area) {
  GdiFlush();
  if (IsLayered()) {
    PresentLayered(m_canvas.Dc(), kOpaque);
  } else {
    BitBlt(m_windowDc, area.left, area.top, area.Width(), area.Height(), m_canvas.Dc(), area.left, area.top, SRCCOPY);
  }
}

void ExComposer::PresentLayered(HDC source, BYTE alpha) {
  POINT origin = {0, 0};
  SIZE size = {m_state.size.width, m_state.size.height};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  UpdateLayeredWindow(m_state.window, nullptr, nullptr, &size, source, &origin, 0, &blend, ULW_ALPHA);
}

void ExComposer::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_state.window, &paint);
  if (dc == nullptr) return;
  const RECT& dirty = paint.rcPaint;
  BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, m_canvas.Dc(), dirty.left,
         dirty.top, SRCCOPY);
  EndPaint(m_state.window, &paint);
}
