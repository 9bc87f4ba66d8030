// The element classes' pure rules: colours, the button state machine and
// look, access keys, bar length, frame timing and the caption layout.
#include <gtest/gtest.h>

#include "ExControlLogic.h"
#include "ExStyleFlags.h"

namespace {

TEST(ControlLogicTest, ColoursSwapRedAndBlueAndNeverStoreFullAlpha) {
  EXPECT_EQ(ExColour(0x0000FF, 100), 0x64FF0000u);  // red
  EXPECT_EQ(ExColour(0xFFFFFF), 0xFEFFFFFFu);
  EXPECT_EQ(ExColour(0x123456, 255), 0xFE563412u);
  EXPECT_EQ(ExColour(0x000000, -5), 0x00000000u);
}

TEST(ControlLogicTest, ButtonStatesFollowTheMouseAndTheFocus) {
  using S = ExButtonState;
  using E = ExButtonEvent;
  EXPECT_EQ(NextButtonState(S::kNormal, E::kEnter, true), S::kHover);
  EXPECT_EQ(NextButtonState(S::kHover, E::kPress, true), S::kPressed);
  EXPECT_EQ(NextButtonState(S::kPressed, E::kRelease, true), S::kHover);
  EXPECT_EQ(NextButtonState(S::kHover, E::kLeave, true), S::kNormal);
  EXPECT_EQ(NextButtonState(S::kNormal, E::kFocus, true), S::kFocused);
  EXPECT_EQ(NextButtonState(S::kFocused, E::kKillFocus, true), S::kNormal);
  // Without interaction presses change nothing; hover still shows.
  EXPECT_EQ(NextButtonState(S::kHover, E::kPress, false), S::kHover);
  EXPECT_EQ(NextButtonState(S::kHover, E::kRelease, false), S::kHover);
}

TEST(ControlLogicTest, ButtonLookComesFromTheStateTableInTheThemeColour) {
  const ExButtonLook pressed = ButtonLook(ExButtonState::kPressed, false, 7);
  EXPECT_EQ(pressed.fill, 0xCCECECECu);
  EXPECT_EQ(pressed.shadeTop, 0x99070000u);
  EXPECT_EQ(pressed.shadeBottom, 0x15070000u);
  EXPECT_EQ(pressed.topLine, 0x0A000000u);
  const ExButtonLook focused = ButtonLook(ExButtonState::kFocused, false, 7);
  EXPECT_EQ(focused.innerBorder, 0x3DFFFFFFu);
  // Disabled wins over any state.
  const ExButtonLook disabled = ButtonLook(ExButtonState::kHover, true, 0x0000FF);
  EXPECT_EQ(disabled.fill, 0x33FFFFFFu);
  EXPECT_EQ(disabled.shadeTop, 0x33FF0000u);
  EXPECT_EQ(disabled.outerBorder, 0x23000000u);
  EXPECT_EQ(disabled.topLine, 0x00000000u);
}

TEST(ControlLogicTest, LooksBlendChannelByChannel) {
  const ExButtonLook from = ButtonLook(ExButtonState::kNormal, false, 7);
  const ExButtonLook to = ButtonLook(ExButtonState::kPressed, false, 7);
  const ExButtonLook half = BlendLooks(from, to, 0.5);
  EXPECT_EQ(half.fill, from.fill);
  EXPECT_EQ(half.shadeTop, 0x4D070000u);     // alpha 0 to 153
  EXPECT_EQ(half.shadeBottom, 0x3E070000u);  // 102 to 21, rounded
  EXPECT_EQ(BlendLooks(from, to, 1.0).topLine, to.topLine);
  EXPECT_EQ(BlendLooks(from, to, 7.0).topLine, to.topLine);  // clamped
}

TEST(ControlLogicTest, BarLengthIsRoundedClampedAndSafeForAnEmptyRange) {
  EXPECT_EQ(ProgressBarLength(66, 100, 0, 100), 66);
  EXPECT_EQ(ProgressBarLength(66, 0, 0, 100), 0);
  EXPECT_EQ(ProgressBarLength(66, 50, 0, 100), 33);
  EXPECT_EQ(ProgressBarLength(10, 25, 0, 100), 3);  // 2.5 rounds up
  EXPECT_EQ(ProgressBarLength(66, 150, 0, 100), 66);
  EXPECT_EQ(ProgressBarLength(66, -20, 0, 100), 0);
  EXPECT_EQ(ProgressBarLength(66, 5, 5, 5), 0);
  EXPECT_EQ(ProgressBarLength(66, 0, 100, 0), 66);  // reversed bounds count down
  EXPECT_EQ(ProgressBarLength(-4, 50, 0, 100), 0);
}

TEST(ControlLogicTest, FramesShowForTheirDelaysAndWrap) {
  ExFrameClock clock;
  clock.Reset({5, 20, 50}, 3);
  EXPECT_EQ(clock.Frame(), 0);
  EXPECT_EQ(clock.DelayMs(), 50);
  EXPECT_EQ(clock.Advance(), 200);
  EXPECT_EQ(clock.Frame(), 1);
  EXPECT_EQ(clock.Advance(), 500);
  EXPECT_EQ(clock.Advance(), 50);
  EXPECT_EQ(clock.Frame(), 0);
  // Zero or missing delays show a frame for 100 ms, not at the timer's limit.
  clock.Reset({0}, 2);
  EXPECT_EQ(clock.DelayMs(), 100);
  EXPECT_EQ(clock.Advance(), 100);
  clock.Reset({}, 0);
  EXPECT_EQ(clock.Advance(), 0);
  EXPECT_EQ(clock.Frame(), 0);
}

TEST(ControlLogicTest, TabHeadersLieSideBySideFromTheOffsets) {
  const ExTabMetrics metrics{10, 10, 90, 30};
  const ExRectF third = TabHeaderRect(metrics, 2);
  EXPECT_FLOAT_EQ(third.x, 190);
  EXPECT_FLOAT_EQ(third.y, 10);
  EXPECT_EQ(TabHeaderAt(metrics, 3, 10, 10), 0);
  EXPECT_EQ(TabHeaderAt(metrics, 3, 100, 39), 1);
  EXPECT_EQ(TabHeaderAt(metrics, 3, 100, 40), -1);
  EXPECT_EQ(TabHeaderAt(metrics, 2, 200, 20), -1);  // no third page
}

TEST(ControlLogicTest, CaptionButtonsHugTheRightEdgeAndTheTitleFillsTheRest) {
  const ExCaptionLayout full = CaptionLayout(kExWindowIcon | kExTitleText | kExCloseButton | kExMinimiseButton, 400);
  EXPECT_EQ(full.buttonCount, 2);
  EXPECT_FLOAT_EQ(full.buttons.x + full.buttons.width, 389);
  EXPECT_FLOAT_EQ(full.title.x, 33);
  EXPECT_LT(full.title.x + full.title.width, full.buttons.x);
  const ExCaptionLayout bare = CaptionLayout(kExTitleText, 400);
  EXPECT_EQ(bare.buttonCount, 0);
  EXPECT_FLOAT_EQ(bare.title.x, 11);
  EXPECT_FLOAT_EQ(bare.title.x + bare.title.width, 389);
}

}  // namespace
