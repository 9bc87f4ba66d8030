// The soundboard's embedded pictures decode at the sizes the window lays
// them out for.
#include "ExImageLoader.h"
#include "FrameworkFixture.h"
#include "QuoblyResources.h"

namespace {

class ArtTest : public FrameworkTest {};

TEST_F(ArtTest, EmbeddedPicturesHaveTheirSizes) {
  struct Expected {
    int id;
    UINT width;
    UINT height;
  };
  const Expected pictures[] = {{IDR_SKIN, 540, 400},          {IDR_TAB_HOST, 20, 23},      {IDR_TAB_SHOUT, 20, 23},
                               {IDR_TAB_COMIC, 20, 23},       {IDR_DROP_BUTTON, 40, 26},   {IDR_TITLE_CLOSE, 135, 26},
                               {IDR_TITLE_MINIMISE, 103, 26}, {IDR_TITLE_TOPMOST, 115, 26}};
  for (const Expected& picture : pictures) {
    const ExResourceBytes bytes = ExFindResourceBytes(nullptr, MAKEINTRESOURCEW(picture.id), L"PNG");
    UniqueGpBitmap bitmap = ExDecodeImage(bytes.data, bytes.size);
    ASSERT_TRUE(bitmap) << picture.id;
    UINT width = 0;
    UINT height = 0;
    Gdiplus::DllExports::GdipGetImageWidth(bitmap.Get(), &width);
    Gdiplus::DllExports::GdipGetImageHeight(bitmap.Get(), &height);
    EXPECT_EQ(width, picture.width) << picture.id;
    EXPECT_EQ(height, picture.height) << picture.id;
  }
  EXPECT_EQ(ExFindResourceBytes(nullptr, MAKEINTRESOURCEW(999), L"PNG").data, nullptr);
  HICON icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUOBLY), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  ASSERT_NE(icon, nullptr);
  DestroyIcon(icon);
  EXPECT_NE(ExFramework::Get()->ApplicationIcon(), nullptr);  // the framework finds it by number
}

}  // namespace
