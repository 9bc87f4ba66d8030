// Composition cost of a single-element change against a full-window redraw,
// on the soundboard's layout: a 430 x 320 host with a grid of 70 x 30
// elements. Prints the time and the pixels recomposed per redraw. A single
// change re-renders the element's bitmap and recomposes its rectangle; the
// full redraw recomposes the whole window from the existing bitmaps.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "ExFramework.h"
#include "ExHost.h"
#include "ExStyleFlags.h"

namespace {

// Re-renders a solid colour on every repaint, like a progress bar moving.
class ColourElement : public ExElement {
 public:
  void Cycle() {
    m_colour = 0xFF000000u | ((m_colour + 0x030507u) & 0x00FFFFFFu);
    Repaint();
  }

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) Gdiplus::DllExports::GdipGraphicsClear(Graphics(), m_colour);
    return ExElement::ClassProc(message, wParam, lParam);
  }

 private:
  Gdiplus::ARGB m_colour = 0xFF204060u;
};

struct Measure {
  double msPerRedraw;
  double pixelsPerRedraw;
};

template <typename Redraw>
Measure Time(const ExHost& host, int count, Redraw redraw) {
  const long long pixelsBefore = host.PixelsRecomposed();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) redraw();
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return {elapsed.count() / count, static_cast<double>(host.PixelsRecomposed() - pixelsBefore) / count};
}

// The machine is shared: rounds alternate both kinds of redraw, and the
// median round stands for each, so a burst of load elsewhere skews neither.
Measure Median(std::vector<Measure> rounds) {
  std::sort(rounds.begin(), rounds.end(),
            [](const Measure& a, const Measure& b) { return a.msPerRedraw < b.msPerRedraw; });
  return rounds[rounds.size() / 2];
}

}  // namespace

int main() {
  if (!ExFramework::Startup()) return 1;
  int result = 1;
  {
    ExWindowOptions windowOptions;
    windowOptions.width = 430;
    windowOptions.height = 320;
    HWND window = ExCreateWindow(windowOptions);
    ExHost host;
    ExAttachOptions options;
    options.styleFlags = kExAttached;
    if (window != nullptr && host.Attach(window, nullptr, 0, options)) {
      host.Show();
      // Four rows of five sound buttons, each a body with a caption child.
      std::vector<std::unique_ptr<ColourElement>> elements;
      for (int i = 0; i < 20; ++i) {
        const ExRectF place{20.0f + 80 * (i % 5), 110.0f + 40 * (i / 5), 70, 30};
        auto body = std::make_unique<ColourElement>();
        auto caption = std::make_unique<ColourElement>();
        const ExHandle bodyHandle = body->Create(window, place);
        caption->Create(bodyHandle, place);
        caption->SetOpacity(128);
        elements.push_back(std::move(body));
        elements.push_back(std::move(caption));
      }
      ColourElement& changing = *elements[0];
      constexpr int kRounds = 11;
      constexpr int kSinglePerRound = 300;
      constexpr int kFullPerRound = 30;
      std::vector<Measure> singleRounds;
      std::vector<Measure> fullRounds;
      for (int round = 0; round < kRounds; ++round) {
        singleRounds.push_back(Time(host, kSinglePerRound, [&] { changing.Cycle(); }));
        fullRounds.push_back(Time(host, kFullPerRound, [&] { host.RedrawAll(); }));
      }
      const Measure single = Median(singleRounds);
      const Measure full = Median(fullRounds);
      const int singleCount = kRounds * kSinglePerRound;
      const int fullCount = kRounds * kFullPerRound;
      std::printf("single 70x30 element: %8.3f ms per redraw, %8.0f pixels recomposed (%d redraws)\n",
                  single.msPerRedraw, single.pixelsPerRedraw, singleCount);
      std::printf("full 430x320 window:  %8.3f ms per redraw, %8.0f pixels recomposed (%d redraws)\n", full.msPerRedraw,
                  full.pixelsPerRedraw, fullCount);
      std::printf("single / full: %.1f %% of the time, %.1f %% of the pixels (target: under 10 %%)\n",
                  100.0 * single.msPerRedraw / full.msPerRedraw, 100.0 * single.pixelsPerRedraw / full.pixelsPerRedraw);
      result = 0;
    }
    if (window != nullptr) DestroyWindow(window);
  }
  ExFramework::Shutdown();
  return result;
}
