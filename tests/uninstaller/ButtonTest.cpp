#include <gtest/gtest.h>

#include "PixelCanvas.h"
#include "PvButton.h"
#include "PvSkin.h"
#include "TestSupport.h"

namespace {

tagPvControlOptions OneState() {
  tagPvControlOptions options;
  options.stateCount = 1;
  return options;
}

// What the button draws, as pixels.
std::vector<uint32_t> Drawn(CPvButton& button) {
  PixelCanvas canvas(button.Width(), button.Height(), 0xFF102030);
  button.Draw(canvas.Dc(), 0, 0);
  std::vector<uint32_t> pixels;
  for (int y = 0; y < button.Height(); ++y) {
    for (int x = 0; x < button.Width(); ++x) pixels.push_back(canvas.At(x, y));
  }
  return pixels;
}

std::vector<uint32_t> DrawnPicture(int id, int frame) {
  PixelCanvas canvas(68, 29, 0xFF102030);
  CPvImage::Instance().DrawStretchImg(canvas.Dc(), PvImageSource(id, L"IMG"), 0, 0, 68, 29, 8, 3, frame, 2);
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 29; ++y) {
    for (int x = 0; x < 68; ++x) pixels.push_back(canvas.At(x, y));
  }
  return pixels;
}

TEST(ButtonTest, OneStateUsesItsOwnPictureForEveryState) {
  CPvButton button(L"", 0, OneState());
  button.m_picture.imageId = 60073;
  for (int state = CPvButton::kNormal; state <= CPvButton::kReleased; ++state) {
    button.m_nState = state;
    EXPECT_EQ(Drawn(button), DrawnPicture(60073, state)) << state;
  }
  EXPECT_NE(DrawnPicture(60073, 0), DrawnPicture(60073, 1));  // the frames do differ
}

TEST(ButtonTest, SeveralStatesPickThePictureByState) {
  CPvButton button(L"", 0);  // four states
  button.m_picture.imageId = 60073;
  button.m_nState = 1;
  EXPECT_EQ(Drawn(button), DrawnPicture(60074, 1));
  button.m_nState = 7;  // clamped to the last state, 60076, which does not exist
  PixelCanvas canvas(68, 29, 0xFF102030);
  button.Draw(canvas.Dc(), 0, 0);
  EXPECT_EQ(button.m_nState, 3);
  EXPECT_FALSE(canvas.AnyOtherThan(0xFF102030, 0, 0, 68, 29));
}

TEST(ButtonTest, ExistingPictureFileWinsAndAMissingOneFallsBack) {
  UniqueCom<IStream> red = MakePng(29, 29, [](int, int) { return 0xFFFF0000u; });
  TempFolder folder;
  STATSTG stat = {};
  red.Get()->Stat(&stat, STATFLAG_NONAME);
  std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  LARGE_INTEGER start = {};
  red.Get()->Seek(start, STREAM_SEEK_SET, nullptr);
  red.Get()->Read(&bytes[0], static_cast<ULONG>(bytes.size()), nullptr);
  const std::wstring file = folder.Write(L"red.png", bytes);

  CPvButton button(OneState());
  button.Init(L"", 0, 0, 68, 29, 8, 1, nullptr, file.c_str());
  PixelCanvas canvas(68, 29);
  button.Draw(canvas.Dc(), 0, 0);
  EXPECT_TRUE(SameColour(canvas.At(34, 14), 0xFFFF0000));

  CPvButton missing(OneState());
  missing.Init(L"", 0, 0, 68, 29, 8, 3, nullptr, (folder.Path() + L"none.png").c_str());
  missing.m_picture.imageId = 60073;
  EXPECT_EQ(Drawn(missing), DrawnPicture(60073, 0));
}

TEST(ButtonTest, ThemeFolderPicturesAreNamedByStemAndState) {
  const std::wstring themes = ExecutableFolder() + L"Themes\\";
  CreateDirectoryW(themes.c_str(), nullptr);
  CreateDirectoryW((themes + L"green").c_str(), nullptr);
  UniqueCom<IStream> green = MakePng(68, 29, [](int, int) { return 0xFF00FF00u; });
  const std::wstring file = themes + L"green\\button_2.png";
  CLSID png = {};
  CPvImage::Instance().GetEncoderClsid(L"image/png", &png);
  Gdiplus::Image(green.Get()).Save(file.c_str(), &png, nullptr);

  CPvSkin::Instance().SetThemesName(L"green");
  CPvButton button(L"", 0);
  button.m_nState = CPvButton::kPressed;
  PixelCanvas canvas(68, 29);
  button.Draw(canvas.Dc(), 0, 0);
  CPvSkin::Instance().SetResType(CPvSkin::kEmbedded);
  DeleteFileW(file.c_str());
  RemoveDirectoryW((themes + L"green").c_str());
  RemoveDirectoryW(themes.c_str());
  EXPECT_TRUE(SameColour(canvas.At(34, 14), 0xFF00FF00));
}

}  // namespace
