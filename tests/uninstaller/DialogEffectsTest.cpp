#include <gtest/gtest.h>

#include <vector>

#include "DialogEffects.h"

namespace {

const PvRect kDialog = {200, 150, 300, 200};

std::vector<int> Alphas(const EffectPlan& plan) {
  std::vector<int> alphas;
  for (const EffectStep& step : plan.steps) {
    if (step.alpha >= 0) alphas.push_back(step.alpha);
  }
  return alphas;
}

PvRect LastMove(const EffectPlan& plan) {
  PvRect last;
  for (const EffectStep& step : plan.steps) {
    if (step.move) last = step.rect;
  }
  return last;
}

TEST(DialogEffectsTest, ZoomInOvershootsAndEndsWhereItBegan) {
  EffectPlan plan;
  ASSERT_TRUE(PlanEffect(kEffectZoomIn, kDialog, &plan));
  EXPECT_EQ(plan.stored, kDialog);
  EXPECT_EQ(LastMove(plan), kDialog);
  EXPECT_EQ(Alphas(plan), (std::vector<int>{50, 100, 150, 183, 216, 249}));
  EXPECT_TRUE(plan.steps.front().setBusy);
  EXPECT_TRUE(plan.steps.back().clearBusy);
  EXPECT_TRUE(plan.steps.back().redraw);
  EXPECT_FALSE(plan.endsDialog);
}

TEST(DialogEffectsTest, SwellLeavesTheStoredRectangleEnlarged) {
  EffectPlan plan;
  ASSERT_TRUE(PlanEffect(kEffectSwellVanish, kDialog, &plan));
  const int a = kDialog.height * 10 / kDialog.width;
  EXPECT_EQ(plan.stored.width, kDialog.width + 60);
  EXPECT_EQ(plan.stored.height, kDialog.height + 6 * a);
  EXPECT_EQ(Alphas(plan), (std::vector<int>{217, 184, 151, 100, 50, 0}));
  EXPECT_FALSE(plan.endsDialog);
  for (const EffectStep& step : plan.steps) EXPECT_FALSE(step.clearBusy);
}

TEST(DialogEffectsTest, OpeningEffectsEndAtTheStoredRectangle) {
  for (int effect : {kEffectSlideInBounce, kEffectUnrollDown, kEffectUnrollSideways}) {
    EffectPlan plan;
    ASSERT_TRUE(PlanEffect(effect, kDialog, &plan)) << effect;
    EXPECT_EQ(LastMove(plan), kDialog) << effect;
    EXPECT_TRUE(plan.steps.back().redraw) << effect;
    EXPECT_FALSE(plan.endsDialog) << effect;
  }
  EffectPlan bounce;
  PlanEffect(kEffectSlideInBounce, kDialog, &bounce);
  ASSERT_EQ(bounce.steps.size(), 8u);
  const int landing = -kDialog.width + 3 * ((kDialog.x + kDialog.width) / 3);
  EXPECT_EQ(bounce.steps[2].rect.x, landing);
  EXPECT_EQ(bounce.steps[4].rect.x, landing - 10);
}

TEST(DialogEffectsTest, OnlyTheClosingEffectsEndTheDialog) {
  for (int effect = 0; effect <= 13; ++effect) {
    EffectPlan plan;
    if (!PlanEffect(effect, kDialog, &plan)) {
      EXPECT_TRUE(effect == kEffectOpenMiddleLine || effect == kEffectCardFlipIn || effect == kEffectCardFoldOut);
      continue;
    }
    const bool closes =
        effect == kEffectRollUpClose || effect == kEffectCollapseClose || effect == kEffectRollUpSidewaysClose;
    EXPECT_EQ(plan.endsDialog, closes) << effect;
  }
  EffectPlan plan;
  EXPECT_FALSE(PlanEffect(14, kDialog, &plan));
  EXPECT_FALSE(PlanEffect(-1, kDialog, &plan));
}

TEST(DialogEffectsTest, FadesWrapTheirOpacityIntoAByte) {
  EffectPlan in;
  PlanEffect(kEffectFadeIn, kDialog, &in);
  EXPECT_EQ(Alphas(in).front(), 0);
  EXPECT_TRUE(in.steps.front().show);
  EXPECT_EQ(Alphas(in).back(), 250);
  EffectPlan out;
  PlanEffect(kEffectFadeOut, kDialog, &out);
  EXPECT_EQ(Alphas(out).size(), 20u);
  EXPECT_EQ(Alphas(out).back(), 15);
}

TEST(DialogEffectsTest, DegenerateSizesNeverDivideByZero) {
  EffectPlan plan;
  EXPECT_TRUE(PlanEffect(kEffectZoomIn, {0, 0, 0, 0}, &plan));
  EXPECT_TRUE(PlanEffect(kEffectSwellVanish, {0, 0, 0, 10}, &plan));
  EXPECT_TRUE(CardFlipFrames(5, 10).empty());
  EXPECT_TRUE(CardFoldFrames(0, 10).empty());
}

TEST(DialogEffectsTest, CardFramesNarrowTowardsTheMiddle) {
  const std::vector<CardCorners> flip = CardFlipFrames(300, 200);
  ASSERT_EQ(flip.size(), 11u);
  EXPECT_EQ(flip.front().x2, 300);
  EXPECT_EQ(flip[5].x1, flip[5].x2);
  const std::vector<CardCorners> fold = CardFoldFrames(300, 200);
  ASSERT_EQ(fold.size(), 6u);
  EXPECT_EQ(fold.front().y1, 15);  // the bulge is full at the edge and gone in the middle
  EXPECT_EQ(fold.back().y1, 0);
  EXPECT_EQ(fold.back().y3, 200);
}

TEST(DialogEffectsTest, MiddleLineBandsGrowAroundTheCentre) {
  const std::vector<MiddleLineBand> bands = MiddleLineBands(kDialog);
  ASSERT_EQ(bands.size(), 10u);
  EXPECT_EQ(bands.front().window, (PvRect{200, 240, 300, 20}));
  EXPECT_EQ(bands.front().sourceTop, 90);
  EXPECT_EQ(bands.back().window, kDialog);
  EXPECT_EQ(bands.back().sourceTop, 0);
}

}  // namespace
