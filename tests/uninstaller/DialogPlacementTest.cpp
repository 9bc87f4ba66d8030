#include <gtest/gtest.h>

#include "DialogPlacement.h"

namespace {

TEST(DialogPlacementTest, CentresInTheWorkAreaLeavingTheTaskbarOut) {
  // A 1920 x 1080 primary monitor with a 40-pixel taskbar at the bottom.
  EXPECT_EQ(CentredIn({0, 0, 1920, 1040}, 450, 230), (PvRect{735, 405, 450, 230}));
  // A taskbar at the top moves the work area, and the dialog with it.
  EXPECT_EQ(CentredIn({0, 40, 1920, 1040}, 450, 230), (PvRect{735, 445, 450, 230}));
  // An odd pixel left over goes to the right and the bottom.
  EXPECT_EQ(CentredIn({0, 0, 101, 51}, 50, 20), (PvRect{25, 15, 50, 20}));
}

TEST(DialogPlacementTest, CentresOnMonitorsLeftOfAndAboveThePrimary) {
  EXPECT_EQ(CentredIn({-1280, 0, 1280, 1024}, 300, 200), (PvRect{-790, 412, 300, 200}));
  EXPECT_EQ(CentredIn({-1600, -900, 1600, 900}, 300, 200), (PvRect{-950, -550, 300, 200}));
  EXPECT_EQ(CentredIn({1920, 200, 1024, 768}, 300, 200), (PvRect{2282, 484, 300, 200}));
}

TEST(DialogPlacementTest, LargerWindowKeepsItsCornerInTheWorkArea) {
  EXPECT_EQ(CentredIn({-800, 100, 640, 480}, 700, 500), (PvRect{-800, 100, 700, 500}));
  EXPECT_EQ(CentredIn({0, 0, 640, 480}, 700, 200), (PvRect{0, 140, 700, 200}));  // too wide only
}

}  // namespace
