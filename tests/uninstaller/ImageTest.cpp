#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "PixelCanvas.h"
#include "PvFont.h"
#include "PvImage.h"
#include "TestSupport.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;

// Three 29-pixel frames: red, green, blue.
UniqueCom<IStream> ThreeFrames() {
  return MakePng(87, 29, [](int x, int) { return x < 29 ? kRed : x < 58 ? kGreen : kBlue; });
}

TEST(ImageDrawTest, FrameIndexPastTheEndDrawsTheLastFrame) {
  UniqueCom<IStream> strip = ThreeFrames();
  PixelCanvas canvas(29, 29);
  ASSERT_TRUE(CPvImage::Instance().DrawStretchImg(canvas.Dc(), strip.Get(), 0, 0, 29, 29, 0, 3, 3, 0));
  EXPECT_TRUE(SameColour(canvas.At(0, 0), kBlue));
  EXPECT_TRUE(SameColour(canvas.At(28, 28), kBlue));

  PixelCanvas middle(29, 29);
  CPvImage::Instance().DrawStretchImg(middle.Dc(), strip.Get(), 0, 0, 29, 29, 0, 3, 1, 0);
  EXPECT_TRUE(SameColour(middle.At(14, 14), kGreen));
}

TEST(ImageDrawTest, NoFramesDrawsTheWholePicture) {
  UniqueCom<IStream> strip = ThreeFrames();
  PixelCanvas canvas(87, 29);
  CPvImage::Instance().DrawStretchImg(canvas.Dc(), strip.Get(), 0, 0, 87, 29, 0, 0, 0, 0);
  EXPECT_TRUE(SameColour(canvas.At(10, 10), kRed));
  EXPECT_TRUE(SameColour(canvas.At(43, 10), kGreen));
  EXPECT_TRUE(SameColour(canvas.At(80, 10), kBlue));
}

TEST(ImageDrawTest, NineSliceKeepsSidesAndTopAndBottomUnstretched) {
  // A 29 × 29 frame: red 8-pixel sides, blue 2-pixel top and bottom between
  // them, green middle.
  UniqueCom<IStream> frame = MakePng(29, 29, [](int x, int y) {
    if (x < 8 || x >= 21) return kRed;
    return y < 2 || y >= 27 ? kBlue : kGreen;
  });
  PixelCanvas canvas(68, 29, kBlack);
  CPvImage::Instance().DrawStretchImg(canvas.Dc(), frame.Get(), 0, 0, 68, 29, 8, 1, 0, 2);
  for (int y : {0, 1, 14, 27, 28}) {
    EXPECT_TRUE(SameColour(canvas.At(0, y), kRed)) << y;
    EXPECT_TRUE(SameColour(canvas.At(7, y), kRed)) << y;
    EXPECT_TRUE(SameColour(canvas.At(60, y), kRed)) << y;
    EXPECT_TRUE(SameColour(canvas.At(67, y), kRed)) << y;
  }
  for (int x : {8, 34, 59}) {
    EXPECT_TRUE(SameColour(canvas.At(x, 0), kBlue)) << x;
    EXPECT_TRUE(SameColour(canvas.At(x, 1), kBlue)) << x;
    EXPECT_TRUE(SameColour(canvas.At(x, 2), kGreen)) << x;
    EXPECT_TRUE(SameColour(canvas.At(x, 26), kGreen)) << x;
    EXPECT_TRUE(SameColour(canvas.At(x, 27), kBlue)) << x;
    EXPECT_TRUE(SameColour(canvas.At(x, 28), kBlue)) << x;
  }
}

TEST(ImageDrawTest, ColourKeyMakesItsRangeTransparent) {
  UniqueCom<IStream> halves = MakePng(20, 10, [](int x, int) { return x < 10 ? 0xFFFF0000u : 0xFF0000FFu; });
  PixelCanvas canvas(20, 10, kGreen);
  // Every red from 0xF00000 up is keyed out.
  ASSERT_TRUE(CPvImage::Instance().DrawTranImg(canvas.Dc(), halves.Get(), 0xFFFF1010, 0xFFF00000, 0, 0, 20, 10));
  EXPECT_TRUE(SameColour(canvas.At(5, 5), kGreen));
  EXPECT_TRUE(SameColour(canvas.At(15, 5), kBlue));
}

TEST(ImageDrawTest, ChannelFactorsScaleTheColours) {
  UniqueCom<IStream> white = MakePng(10, 10, [](int, int) { return kWhite; });
  PixelCanvas canvas(10, 10, kBlack);
  CPvImage::Instance().DrawImgEx(canvas.Dc(), white.Get(), 1.0f, 0.0f, 0.5f, 1.0f, 0, 0, 10, 10);
  EXPECT_TRUE(SameColour(canvas.At(5, 5), 0xFFFF0080));
}

TEST(ImageDrawTest, NullDcOrMissingPictureDrawsNothing) {
  CPvImage& image = CPvImage::Instance();
  EXPECT_FALSE(image.DrawImg(nullptr, PvImageSource(59999, L"IMG"), 0, 0, 10, 10));
  EXPECT_FALSE(image.DrawString(nullptr, nullptr, L"x", 0, 0, 0, 0, 0, 254, false, true));
  PixelCanvas canvas(10, 10, kGreen);
  EXPECT_TRUE(image.DrawStretchImg(canvas.Dc(), PvImageSource(59999, L"IMG"), 0, 0, 10, 10, 2, 1, 0, 2));
  EXPECT_TRUE(image.DrawImg(canvas.Dc(), PvImageSource(L"Z:\\no\\such\\picture.png"), 0, 0, 10, 10));
  EXPECT_FALSE(canvas.AnyOtherThan(kGreen, 0, 0, 10, 10));
  EXPECT_FALSE(image.CheckImage(L"Z:\\no\\such\\picture.png"));
}

TEST(ImageTextTest, ZeroWidthDrawsFromAPointWithoutClipping) {
  HFONT font = CPvFont::Instance().GetFont(16, L"Tahoma", 0, 0, 0);
  const wchar_t* text = L"MMMMMMMMMMMMMMMMMMMM";
  // Without the line limit: Wine's GDI+ lays out no line at all when the
  // wrapped text is taller than the box.
  PixelCanvas boxed(300, 30, kWhite);
  CPvImage::Instance().DrawString(boxed.Dc(), font, text, 0, 0, 60, 30, 0, 255, false, false);
  EXPECT_TRUE(boxed.AnyOtherThan(kWhite, 0, 0, 60, 30));
  EXPECT_FALSE(boxed.AnyOtherThan(kWhite, 70, 0, 300, 30));

  PixelCanvas pointed(300, 30, kWhite);
  CPvImage::Instance().DrawString(pointed.Dc(), font, text, 0, 0, 0, 30, 0, 255, false, true);
  EXPECT_TRUE(pointed.AnyOtherThan(kWhite, 0, 0, 60, 30));
  EXPECT_TRUE(pointed.AnyOtherThan(kWhite, 100, 0, 300, 30));
}

TEST(ImageSaveTest, EncodersAreFoundByExactTypeAndSavedPicturesReload) {
  CPvImage& image = CPvImage::Instance();
  CLSID clsid = {};
  EXPECT_GE(image.GetEncoderClsid(L"image/png", &clsid), 0);
  EXPECT_GE(image.GetEncoderClsid(L"image/bmp", &clsid), 0);
  EXPECT_EQ(image.GetEncoderClsid(L"image/PNG", &clsid), -1);

  TempFolder folder;
  PixelCanvas canvas(16, 8, kBlue);
  const RECT area = {0, 0, 16, 8};
  EXPECT_TRUE(image.SavePic(canvas.Dc(), area, (folder.Path() + L"a.png").c_str(), L"png"));
  EXPECT_TRUE(image.CheckImage((folder.Path() + L"a.png").c_str()));
  EXPECT_TRUE(image.SavePic((folder.Path() + L"a.png").c_str(), (folder.Path() + L"b.bmp").c_str(), L"bmp"));
  EXPECT_EQ(ReadFileBytes(folder.Path() + L"b.bmp").substr(0, 2), "BM");
  EXPECT_FALSE(image.SavePic(canvas.Dc(), area, (folder.Path() + L"c.xyz").c_str(), L"xyz"));
  EXPECT_TRUE(ReadFileBytes(folder.Path() + L"c.xyz").empty());
}

}  // namespace

namespace {

struct PictureSize {
  const wchar_t* resource;
  UINT width;
  UINT height;
};

TEST(EmbeddedPictureTest, EveryPictureLoadsAtItsSize) {
  const PictureSize pictures[] = {
      {MAKEINTRESOURCEW(60001), 69, 21},   {MAKEINTRESOURCEW(60002), 69, 21},   {MAKEINTRESOURCEW(60003), 69, 21},
      {MAKEINTRESOURCEW(60004), 69, 21},   {MAKEINTRESOURCEW(60005), 69, 21},   {MAKEINTRESOURCEW(60006), 38, 18},
      {L"PV_IDB_CLOSE2", 38, 18},          {L"PV_IDB_CLOSE3", 38, 18},          {MAKEINTRESOURCEW(60026), 279, 23},
      {MAKEINTRESOURCEW(60027), 137, 157}, {MAKEINTRESOURCEW(60051), 186, 150}, {MAKEINTRESOURCEW(60052), 437, 141},
      {MAKEINTRESOURCEW(60056), 32, 32},   {MAKEINTRESOURCEW(60057), 32, 32},   {MAKEINTRESOURCEW(60061), 256, 80},
      {MAKEINTRESOURCEW(60073), 87, 29},   {MAKEINTRESOURCEW(60074), 87, 29},   {MAKEINTRESOURCEW(60007), 38, 18},
      {MAKEINTRESOURCEW(60008), 38, 18},   {MAKEINTRESOURCEW(60036), 15, 15},   {MAKEINTRESOURCEW(60037), 15, 15},
      {MAKEINTRESOURCEW(60038), 15, 15},   {MAKEINTRESOURCEW(60039), 15, 15},
  };
  for (const PictureSize& picture : pictures) {
    std::unique_ptr<Gdiplus::Image> image = CPvImage::Instance().LoadPngFromRes(picture.resource, L"IMG");
    ASSERT_NE(image, nullptr) << reinterpret_cast<UINT_PTR>(picture.resource);
    EXPECT_EQ(image->GetWidth(), picture.width);
    EXPECT_EQ(image->GetHeight(), picture.height);
  }
  EXPECT_EQ(CPvImage::Instance().LoadPngFromRes(60009, L"IMG"), nullptr);
  EXPECT_EQ(CPvImage::Instance().LoadPngFromRes(60001, L"PNG"), nullptr);
  EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(107)), nullptr);
}

}  // namespace

namespace {

TEST(ImageTextTest, NoWrapKeepsALongQuestionOnOneTrimmedLine) {
  HFONT font = CPvFont::Instance().GetFont(12, L"宋体", 0, 0, 0);
  const std::wstring question = L"您确定要卸载" + std::wstring(40, L'软') + L"?";
  PixelCanvas canvas(260, 60, kWhite);
  EXPECT_TRUE(
      CPvImage::Instance().DrawString(canvas.Dc(), font, question.c_str(), 10, 15, 210, 30, 0, 254, false, true, true));
  int top = 60;
  int bottom = -1;
  for (int y = 0; y < 60; ++y) {
    if (canvas.AnyOtherThan(kWhite, 0, y, 260, y + 1)) {
      top = std::min(top, y);
      bottom = y;
    }
  }
  ASSERT_GE(bottom, top) << "nothing drawn";
  EXPECT_LT(bottom - top, 18) << "more than one line";
  EXPECT_TRUE(canvas.AnyOtherThan(kWhite, 190, 15, 220, 45)) << "the line runs to the end of its box";
  EXPECT_FALSE(canvas.AnyOtherThan(kWhite, 221, 0, 260, 60)) << "drawn past its box";
}

TEST(ImageTextTest, UnusableFaceFallsBackToAReadableFont) {
  HFONT font = CPvFont::Instance().GetFont(16, L"No Such Face At All", 0, 0, 0);
  PixelCanvas canvas(200, 30, kWhite);
  EXPECT_TRUE(CPvImage::Instance().DrawString(canvas.Dc(), font, L"Fallback", 0, 0, 200, 30, 0, 255, false, true));
  EXPECT_TRUE(canvas.AnyOtherThan(kWhite, 0, 0, 200, 30));
}

}  // namespace
