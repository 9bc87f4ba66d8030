// ExComposer: the picture of a host window. It keeps the pre-rendered
// background (colour, skin image, rounded corners), composes the visible
// elements over it into one canvas and presents the canvas: through
// UpdateLayeredWindow for a layered window, by BitBlt into a rounded window
// region for an opaque one. Owned by ExHost; UI thread only.
#pragma once

#include <optional>

#include "ExGeometry.h"
#include "ExHostState.h"
#include "ExSurface.h"
#include "Handles.h"

class ExElement;

constexpr int kExOpaqueKey = -1;

enum class ExImageMode { kNatural = 0, kStretch = 1, kCentre = 2 };

struct ExComposerOptions {
  int layeredKey = kExOpaqueKey;  // anything else makes the window layered
  ExImageMode imageMode = ExImageMode::kNatural;
  std::optional<ExSize> stretchArea;
  COLORREF backgroundColour = 0;
  int theme = 7;
  bool blur = false;
};

class ExComposer {
 public:
  explicit ExComposer(const ExHostState& state) : m_state(state) {}
  ExComposer(const ExComposer&) = delete;
  ExComposer& operator=(const ExComposer&) = delete;

  void Configure(const ExComposerOptions& options) { m_options = options; }
  // Takes the window's DC and makes the surfaces of the state's size.
  bool Create();
  void Reset();
  // New surfaces for a new window size; false when they cannot be made.
  bool Resize();

  bool IsLayered() const { return m_options.layeredKey != kExOpaqueKey; }
  int Theme() const { return m_options.theme; }
  const ExSurface& Canvas() const { return m_canvas; }
  long long PixelsRecomposed() const { return m_pixelsRecomposed; }

  // Replaces the skin image (may be empty), mode and colour.
  void SetBackground(UniqueGpBitmap image, ExImageMode mode, COLORREF colour);
  void SetBackground(UniqueGpBitmap image) { m_backgroundImage = std::move(image); }
  bool HasBackgroundImage() const { return static_cast<bool>(m_backgroundImage); }
  void RenderBackground();
  // The rounded region of an opaque window; a layered one is shaped by alpha.
  void ApplyWindowShape();
  // DWM blur behind a layered window, where it applies.
  void ApplyBlur(int left, int top, int right, int bottom);
  void SetLayeredStyle(bool layered);

  // Composes `area` of the chain starting at `first` onto the canvas.
  void Compose(const ExPixelRect& area, ExElement* first);
  void Present(const ExPixelRect& area);
  void PresentLayered(HDC source, BYTE alpha);
  // Paints the dirty part of a WM_PAINT from the canvas.
  void Paint();

 private:
  bool CreateSurfaces();
  bool BlurApplies() const;
  void DrawChain(ExElement* first, const ExPixelRect& clip);
  void DrawElement(ExElement& element, const ExPixelRect& clip);

  const ExHostState& m_state;
  ExComposerOptions m_options;
  HWND m_dcWindow = nullptr;
  HDC m_windowDc = nullptr;  // from GetDC on m_dcWindow; released by Reset
  ExSurface m_canvas;
  ExSurface m_background;
  UniqueGpBitmap m_backgroundImage;
  UniqueGpImageAttributes m_opacityAttributes;
  long long m_pixelsRecomposed = 0;
};
