// ExImage: a picture element showing decoded image bytes or an icon; an
// animated GIF runs through its frames, each shown for its own delay, on a
// window timer whose identifier is the element's handle + 1.
#pragma once

#include <vector>

#include "ExControlLogic.h"
#include "ExControl.h"

constexpr int kExTypeImage = 4;

enum class ExDrawMode {
  kStretch = 0,  // over the whole element
  kNatural = 1,  // at its own size in the top left corner
  kCentre = 2,   // at its own size in the middle
  kFit = 3,      // as large as fits, keeping its proportions, in the middle
};

class ExImage : public ExControl {
 public:
  // Bytes that do not decode leave the element empty: it draws nothing.
  ExHandle Create(const ExParent& parent, const ExRectF& rect, const void* bytes, size_t size,
                  ExDrawMode mode = ExDrawMode::kStretch, bool visible = true);
  // The icon stays the caller's; the element keeps a copy.
  ExHandle Create(const ExParent& parent, const ExRectF& rect, HICON icon, ExDrawMode mode = ExDrawMode::kStretch,
                  bool visible = true);

  // Replace the picture (and restart any animation); false when it is empty.
  bool SetImage(const void* bytes, size_t size);
  bool SetIcon(HICON icon);
  bool IsEmpty() const { return m_frames.empty(); }

  int FrameCount() const { return static_cast<int>(m_frames.size()); }
  int FrameIndex() const { return m_clock.Frame(); }
  // Period the frame timer was last armed with; 0 while no animation runs.
  int ArmedDelayMs() const { return m_armedDelayMs; }
  // Shows the next frame and re-arms the timer with its delay; the frame
  // timer calls it, and so may a caller that drives the animation itself.
  void AdvanceFrame();

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;
  bool OutlinesFocus() const override { return true; }

 private:
  static void CALLBACK OnFrameTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
  ExElementStyle Style(bool visible) const;
  void StartAnimation();
  void StopAnimation();
  void ArmTimer(int delayMs);

  std::vector<UniqueGpBitmap> m_frames;
  ExFrameClock m_clock;
  std::vector<unsigned> m_delays;  // hundredths of a second, as decoded
  ExDrawMode m_mode = ExDrawMode::kStretch;
  int m_armedDelayMs = 0;
};
