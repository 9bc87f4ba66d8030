#include <gtest/gtest.h>

#include "PvImage.h"
#include "ScreenShot.h"
#include "TestSupport.h"

namespace {

class MovieTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_wnd, nullptr);
  }
  void TearDown() override { DestroyWindow(m_wnd); }

  HWND m_wnd = nullptr;
};

TEST_F(MovieTest, AnIdKeepsItsFirstMovie) {
  CPvImage image;
  EXPECT_FALSE(image.isExistsMovie(5));
  EXPECT_TRUE(image.AddMovie(m_wnd, 60073, L"IMG", 0, 0, 3, 20, 5, tagPvMovie::kFrameStrip, 29, 29, nullptr));
  EXPECT_TRUE(image.AddMovie(m_wnd, L"Z:\\other.png", 0, 0, 3, 20, 5, tagPvMovie::kFrameStrip, 29, 29, nullptr));
  EXPECT_TRUE(image.AddMovie(m_wnd, 60074, L"IMG", 0, 0, 3, 20, 6, tagPvMovie::kFrameStrip, 29, 29, nullptr));
  EXPECT_EQ(image.GetMovieIndex(5), 0);
  EXPECT_EQ(image.GetMovieIndex(6), 1);
  EXPECT_EQ(image.GetMovieIndex(7), -1);
  EXPECT_TRUE(image.isStop(5));
  EXPECT_FALSE(image.isStop(7));
}

TEST_F(MovieTest, RunningMoviesSurviveTheListGrowing) {
  CPvImage image;
  image.AddMovie(m_wnd, 60073, L"IMG", 0, 0, 3, 5, 1, tagPvMovie::kFrameStrip, 29, 29, nullptr);
  image.StartMovie(1);
  EXPECT_FALSE(image.isStop(1));
  for (int id = 100; id < 400; ++id) {
    image.AddMovie(m_wnd, 60074, L"IMG", 30, 0, 3, 5, id, tagPvMovie::kRotate, 29, 29, nullptr);
  }
  image.StartMovie(399);
  Sleep(60);
  image.StopMovie(1);
  image.StartMovie(1);  // restarted before its thread noticed: it plays on
  EXPECT_FALSE(image.isStop(1));
  image.StopMovie(1);
  EXPECT_TRUE(image.isStop(1));
}  // the destructor waits for both threads

// Pixels of the window's top-left `size` × `size` square that differ between
// two pictures of it.
int ChangedPixels(const ScreenShot& before, const ScreenShot& after, int size) {
  int changed = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) changed += before.At(x, y) != after.At(x, y) ? 1 : 0;
  }
  return changed;
}

TEST_F(MovieTest, FramesReachTheWindow) {
  constexpr int kSize = 29;
  SetWindowPos(m_wnd, HWND_TOPMOST, 40, 40, 200, 200, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  UpdateWindow(m_wnd);
  RECT area = {0, 0, kSize, kSize};
  MapWindowPoints(m_wnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
  const ScreenShot before(area);

  CPvImage image;
  ASSERT_TRUE(image.AddMovie(m_wnd, 60073, L"IMG", 0, 0, 3, 20, 1, tagPvMovie::kFrameStrip, kSize, kSize, nullptr));
  image.StartMovie(1);
  EXPECT_TRUE(PumpUntil([&] { return ChangedPixels(before, ScreenShot(area), kSize) > kSize; }, 5000))
      << "no frame of the movie reached the screen";
  image.StopMovie(1);
}

TEST_F(MovieTest, FadeStopsByItselfAndCanPlayAgain) {
  CPvImage image;
  image.AddMovie(m_wnd, 60056, L"IMG", 0, 0, 1, 5, 2, tagPvMovie::kFadeIn, 32, 32, nullptr);
  for (int run = 0; run < 2; ++run) {
    image.StartMovie(2);
    EXPECT_TRUE(WaitUntil([&] { return image.isStop(2); })) << run;
  }
}

}  // namespace
