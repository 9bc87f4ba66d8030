#include "ExImage.h"

#include <algorithm>

#include "ExImageLoader.h"
#include "ExPaint.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

ExElementStyle ExImage::Style(bool visible) const {
  ExElementStyle style;
  style.typeCode = kExTypeImage;
  style.visible = visible;
  style.interactive = false;
  return style;
}

ExHandle ExImage::Create(const ExParent& parent, const ExRectF& rect, const void* bytes, size_t size, ExDrawMode mode,
                         bool visible) {
  Destroy();
  m_mode = mode;
  const ExHandle handle = ExElement::Create(parent, rect, Style(visible));
  if (handle != 0) SetImage(bytes, size);
  return Handle();
}

ExHandle ExImage::Create(const ExParent& parent, const ExRectF& rect, HICON icon, ExDrawMode mode, bool visible) {
  Destroy();
  m_mode = mode;
  const ExHandle handle = ExElement::Create(parent, rect, Style(visible));
  if (handle != 0) SetIcon(icon);
  return Handle();
}

bool ExImage::SetImage(const void* bytes, size_t size) {
  StopAnimation();
  ExImageFrames decoded = ExDecodeImageFrames(bytes, size);
  m_frames = std::move(decoded.frames);
  m_delays = std::move(decoded.delays);
  StartAnimation();
  Repaint();
  return !m_frames.empty();
}

bool ExImage::SetIcon(HICON icon) {
  StopAnimation();
  m_frames.clear();
  m_delays.clear();
  UniqueGpBitmap bitmap = ExBitmapFromIcon(icon);
  if (bitmap) m_frames.push_back(std::move(bitmap));
  StartAnimation();
  Repaint();
  return !m_frames.empty();
}

void ExImage::StartAnimation() {
  m_clock.Reset(m_delays, FrameCount());
  if (FrameCount() > 1) ArmTimer(m_clock.DelayMs());
}

void ExImage::StopAnimation() {
  if (m_armedDelayMs != 0 && Window() != nullptr) KillTimer(Window(), Handle() + 1);
  m_armedDelayMs = 0;
}

void ExImage::ArmTimer(int delayMs) {
  if (Handle() == 0) return;
  // The same identifier again replaces the running timer's period.
  m_armedDelayMs =
      SetTimer(Window(), Handle() + 1, static_cast<UINT>(delayMs), &ExImage::OnFrameTimer) != 0 ? delayMs : 0;
}

void ExImage::AdvanceFrame() {
  if (FrameCount() < 2 || Handle() == 0) return;
  const int delayMs = m_clock.Advance();
  Repaint();
  ArmTimer(delayMs);
}

void CALLBACK ExImage::OnFrameTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  // Only ExImage arms timers with this procedure, each with its own handle + 1,
  // and kills them when it goes; handles are slot addresses, so handle + 1 is
  // never another element's handle.
  auto* image = static_cast<ExImage*>(ExElement::FromHandle(static_cast<ExHandle>(id - 1)));
  if (image == nullptr || image->Window() != window) {
    KillTimer(window, id);
    return;
  }
  image->AdvanceFrame();
}

LRESULT ExImage::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) StopAnimation();
  return ExControl::ClassProc(message, wParam, lParam);
}

void ExImage::Paint(GpGraphics* graphics, const ExRectF& area) {
  const int frame = std::min(FrameIndex(), FrameCount() - 1);
  if (frame >= 0) {
    GpBitmap* picture = m_frames[frame].Get();
    UINT width = 0;
    UINT height = 0;
    GdipGetImageWidth(picture, &width);
    GdipGetImageHeight(picture, &height);
    float drawnWidth = area.width;
    float drawnHeight = area.height;
    if (m_mode == ExDrawMode::kNatural || m_mode == ExDrawMode::kCentre) {
      drawnWidth = static_cast<float>(width);
      drawnHeight = static_cast<float>(height);
    } else if (m_mode == ExDrawMode::kFit && width > 0 && height > 0) {
      const float scale = std::min(area.width / width, area.height / height);
      drawnWidth = width * scale;
      drawnHeight = height * scale;
    }
    const bool centred = m_mode == ExDrawMode::kCentre || m_mode == ExDrawMode::kFit;
    const float x = centred ? (area.width - drawnWidth) / 2 : 0;
    const float y = centred ? (area.height - drawnHeight) / 2 : 0;
    ExDrawStretched(graphics, picture, {x, y, drawnWidth, drawnHeight});
  }
  if (HasFocus()) ExFrame(graphics, area, 0, 0x80FFFFFF);
}
