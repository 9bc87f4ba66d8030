// The step sequences of the dialogs' show and hide effects: where the window
// goes, how opaque it is and how long each step lasts. Pure geometry, free of
// any platform header; CPvDlg::PlayEffect carries the steps out.
#pragma once

#include <vector>

#include "ImageSlices.h"

enum PvEffect {
  kEffectSlideInBounce = 0,
  kEffectUnrollDown = 1,
  kEffectRollUpClose = 2,
  kEffectSlideOutLeft = 3,
  kEffectOpenMiddleLine = 4,
  kEffectCollapseClose = 5,
  kEffectFadeIn = 6,
  kEffectFadeOut = 7,
  kEffectZoomIn = 8,
  kEffectSwellVanish = 9,
  kEffectCardFlipIn = 10,
  kEffectCardFoldOut = 11,
  kEffectUnrollSideways = 12,
  kEffectRollUpSidewaysClose = 13,
};

// One step, carried out in field order.
struct EffectStep {
  bool setBusy = false;
  int alpha = -1;  // 0 to 255: make the window layered with this opacity
  bool move = false;
  PvRect rect;               // where the window moves (and is shown)
  bool show = false;         // show the window without moving it
  bool roundRegion = false;  // only for a dialog with rounded corners
  bool clearBusy = false;
  bool redraw = false;
  int sleepMs = 0;
};

struct EffectPlan {
  std::vector<EffectStep> steps;
  PvRect stored;            // the dialog's rectangle afterwards
  bool endsDialog = false;  // hide the window and end the modal loop
};

// The plan of an effect that only moves, fades and sizes the window, from the
// dialog's stored rectangle. False for the effects that draw the window's
// picture (4, 10, 11) and for unknown numbers.
bool PlanEffect(int effect, const PvRect& stored, EffectPlan* plan);

// Effect 4: the window grows from its middle line; each band shows the
// picture's rows from `sourceTop`.
struct MiddleLineBand {
  PvRect window;
  int sourceTop;
};
std::vector<MiddleLineBand> MiddleLineBands(const PvRect& stored);

// Effects 10 and 11: the window's picture drawn through three corners
// (upper-left, upper-right, lower-left), one set per frame.
struct CardCorners {
  int x1, y1, x2, y2, x3, y3;
};
std::vector<CardCorners> CardFlipFrames(int width, int height);
std::vector<CardCorners> CardFoldFrames(int width, int height);
