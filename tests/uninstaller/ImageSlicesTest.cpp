#include <gtest/gtest.h>

#include "ImageSlices.h"

namespace {

TEST(ImageSlicesTest, FramesAreClampedToTheStrip) {
  EXPECT_EQ(FrameRect(87, 29, 3, 3), (PvRect{58, 0, 29, 29}));
  EXPECT_EQ(FrameRect(87, 29, 3, -1), (PvRect{0, 0, 29, 29}));
  EXPECT_EQ(FrameRect(87, 29, 0, 2), (PvRect{0, 0, 87, 29}));
  EXPECT_EQ(FrameRect(70, 21, 3, 1), (PvRect{23, 0, 23, 21}));  // the remainder column is never drawn
}

TEST(ImageSlicesTest, NineSlicesKeepEdgesAndStretchTheMiddle) {
  const auto slices = StretchSlices({29, 0, 29, 29}, {10, 5, 68, 29}, 8, 2);
  ASSERT_EQ(slices.size(), 9u);
  EXPECT_EQ(slices[0].source, (PvRect{29, 0, 8, 2}));
  EXPECT_EQ(slices[0].target, (PvRect{10, 5, 8, 2}));
  EXPECT_EQ(slices[4].source, (PvRect{37, 2, 13, 25}));
  EXPECT_EQ(slices[4].target, (PvRect{18, 7, 52, 25}));
  EXPECT_EQ(slices[8].source, (PvRect{50, 27, 8, 2}));
  EXPECT_EQ(slices[8].target, (PvRect{70, 32, 8, 2}));
}

TEST(ImageSlicesTest, EdgesChooseThreeSlicesOrAPlainStretch) {
  const auto columns = StretchSlices({0, 0, 30, 10}, {0, 0, 90, 10}, 5, 0);
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[1].target, (PvRect{5, 0, 80, 10}));
  const auto rows = StretchSlices({0, 0, 30, 10}, {0, 0, 90, 40}, 0, 3);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].target, (PvRect{0, 3, 90, 34}));
  const auto plain = StretchSlices({0, 0, 30, 10}, {4, 4, 0, 0}, 0, 0);
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(plain[0].target, (PvRect{4, 4, 30, 10}));  // size 0 is the natural size
}

TEST(ImageSlicesTest, TargetsSmallerThanTheEdgesDrawNoMirroredPieces) {
  for (const PvSlice& slice : StretchSlices({0, 0, 30, 30}, {0, 0, 10, 16}, 8, 8)) {
    EXPECT_GT(slice.target.width, 0);
    EXPECT_GT(slice.target.height, 0);
  }
  EXPECT_EQ(StretchSlices({0, 0, 30, 30}, {0, 0, 16, 16}, 8, 8).size(), 4u);
}

}  // namespace
