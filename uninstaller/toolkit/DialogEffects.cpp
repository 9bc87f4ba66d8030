#include "DialogEffects.h"

#include <algorithm>
#include <cmath>

namespace {

// Layered opacity is a byte: the effects' formulas wrap around.
int Alpha(int value) {
  return ((value % 256) + 256) % 256;
}

EffectStep Move(const PvRect& rect, int sleepMs) {
  EffectStep step;
  step.move = true;
  step.rect = rect;
  step.sleepMs = sleepMs;
  return step;
}

EffectStep Fade(int alpha, int sleepMs) {
  EffectStep step;
  step.alpha = Alpha(alpha);
  step.sleepMs = sleepMs;
  return step;
}

EffectStep MoveAndRedraw(const PvRect& rect) {
  EffectStep step = Move(rect, 0);
  step.redraw = true;
  return step;
}

void SlideInBounce(const PvRect& r, EffectPlan* plan) {
  int x = -r.width;
  for (int round = 1; round <= 3; ++round) {
    x += (r.x + r.width) / 3;
    plan->steps.push_back(Move({x, r.y, r.width, r.height}, 50));
  }
  for (int back : {5, 10, 5, 0}) plan->steps.push_back(Move({x - back, r.y, r.width, r.height}, 20));
  plan->steps.push_back(MoveAndRedraw(r));
}

void ZoomIn(const PvRect& r, EffectPlan* plan) {
  EffectStep start;
  start.setBusy = true;
  plan->steps.push_back(start);
  int x = r.x + r.width / 2;
  int y = r.y + r.height / 2;
  for (int i = 1; i <= 3; ++i) {
    x -= r.width / 6;
    y -= r.height / 6;
    EffectStep step = Move({x, y, i * (r.width / 3), i * (r.height / 3)}, 20);
    step.alpha = Alpha(50 * i);
    plan->steps.push_back(step);
  }
  const int h = r.width != 0 ? r.height * 10 / r.width : 0;
  PvRect grown = {r.x - 30, r.y - 3 * h, r.width + 60, r.height + 6 * h};
  EffectStep overshoot = Move(grown, 0);
  overshoot.roundRegion = true;
  plan->steps.push_back(overshoot);
  for (int i = 1; i <= 3; ++i) {
    grown.width -= 20;
    grown.height -= 2 * h;
    grown.x += 10;
    grown.y += h;
    EffectStep step = Move(grown, 20);
    step.alpha = Alpha(33 * i - 106);
    plan->steps.push_back(step);
  }
  EffectStep finish;
  finish.roundRegion = true;
  finish.clearBusy = true;
  finish.redraw = true;
  plan->steps.push_back(finish);
  plan->stored = grown;
}

void SwellAndVanish(const PvRect& r, EffectPlan* plan) {
  const int a = r.width != 0 ? r.height * 10 / r.width : 0;
  PvRect stored = r;
  EffectStep start;
  start.setBusy = true;
  plan->steps.push_back(start);
  for (int i = 1; i <= 3; ++i) {
    stored.y -= a;
    stored.width += 20;
    stored.x -= 10;
    stored.height += 2 * a;
    EffectStep step = Move(stored, 20);
    step.alpha = Alpha(-33 * i - 6);
    step.roundRegion = true;
    step.redraw = true;
    plan->steps.push_back(step);
  }
  for (int i = 1; i <= 3; ++i) {
    stored.y += stored.height / 6;
    stored.x += stored.width / 6;
    EffectStep step =
        Move({stored.x, stored.y, stored.width - i * (stored.width / 3), stored.height - i * (stored.height / 3)}, 20);
    step.alpha = Alpha(-50 * i - 106);
    plan->steps.push_back(step);
  }
  plan->stored = stored;
}

}  // namespace

bool PlanEffect(int effect, const PvRect& r, EffectPlan* plan) {
  *plan = EffectPlan();
  plan->stored = r;
  switch (effect) {
    case kEffectSlideInBounce:
      SlideInBounce(r, plan);
      return true;
    case kEffectUnrollDown:
      for (int k = 1; k <= 5; ++k) plan->steps.push_back(Move({r.x, r.y, r.width, k * (r.height / 5)}, 50));
      plan->steps.push_back(MoveAndRedraw(r));
      return true;
    case kEffectRollUpClose:
      for (int k = 1; k <= 5; ++k) {
        plan->steps.push_back(Move({r.x, r.y, r.width, r.height - k * (r.height / 5)}, 50));
      }
      plan->endsDialog = true;
      return true;
    case kEffectSlideOutLeft: {
      int x = r.x;
      for (int k = 1; k <= 5; ++k) {
        x -= (r.width + r.x) / 5;
        plan->steps.push_back(Move({x, r.y, r.width, r.height}, 50));
      }
      return true;
    }
    case kEffectCollapseClose: {
      EffectStep start;
      start.setBusy = true;
      plan->steps.push_back(start);
      int y = r.y;
      for (int k = 1; k <= 9; ++k) {
        y += r.height / 20;
        plan->steps.push_back(Move({r.x, y, r.width, r.height - k * (r.height / 10)}, 15));
      }
      EffectStep line = MoveAndRedraw({r.x, r.y + r.height / 2, r.width, 1});
      line.sleepMs = 50;
      plan->steps.push_back(line);
      plan->endsDialog = true;
      return true;
    }
    case kEffectFadeIn: {
      EffectStep start = Fade(0, 0);
      start.show = true;
      plan->steps.push_back(start);
      for (int i = 1; i <= 10; ++i) plan->steps.push_back(Fade(60 + 19 * i, 30));
      return true;
    }
    case kEffectFadeOut:
      for (int i = 1; i <= 20; ++i) plan->steps.push_back(Fade(255 - 12 * i, 30));
      return true;
    case kEffectZoomIn:
      ZoomIn(r, plan);
      return true;
    case kEffectSwellVanish:
      SwellAndVanish(r, plan);
      return true;
    case kEffectUnrollSideways:
      for (int k = 1; k <= 10; ++k) plan->steps.push_back(Move({r.x, r.y, k * (r.width / 10), r.height}, 20));
      plan->steps.push_back(MoveAndRedraw(r));
      return true;
    case kEffectRollUpSidewaysClose:
      for (int k = 1; k <= 10; ++k) {
        EffectStep step = Move({r.x, r.y, r.width - k * (r.width / 10), r.height}, 20);
        step.redraw = true;
        plan->steps.push_back(step);
      }
      plan->endsDialog = true;
      return true;
    default:
      return false;
  }
}

std::vector<MiddleLineBand> MiddleLineBands(const PvRect& r) {
  std::vector<MiddleLineBand> bands;
  for (int k = 1; k <= 10; ++k) {
    const int band = k * (r.height / 10);
    bands.push_back({{r.x, r.y + r.height / 2 - k * (r.height / 20), r.width, band}, (r.height - band) / 2});
  }
  return bands;
}

namespace {

// The card's edge positions 0, step, 2 step, ... up to `last`, where step is a
// tenth of the width; none for a card too narrow to step.
std::vector<int> CardSteps(int width, int last) {
  std::vector<int> steps;
  const int step = width / 10;
  for (int s = 0; step > 0 && s <= last; s += step) steps.push_back(s);
  return steps;
}

}  // namespace

std::vector<CardCorners> CardFlipFrames(int width, int height) {
  const int centre = width / 2;
  std::vector<CardCorners> frames;
  for (int s : CardSteps(width, width)) frames.push_back({s, 0, 2 * centre - s, 0, s, height});
  return frames;
}

std::vector<CardCorners> CardFoldFrames(int width, int height) {
  const int centre = width / 2;
  std::vector<CardCorners> frames;
  for (int s : CardSteps(width, centre)) {
    const int d = s - centre;
    const double ratio = static_cast<double>(d) * d / (static_cast<double>(centre) * centre);
    const int bulge = static_cast<int>(15 - 15 * std::sqrt(std::max(0.0, 1 - ratio)));
    frames.push_back({s, bulge, 2 * centre - s, 30 - bulge, s, bulge + height});
  }
  return frames;
}
