#include <gtest/gtest.h>

#include <string>

#include "PvFont.h"
#include "TestSupport.h"

namespace {

TEST(FontTest, PreferredFaceNeedsItsFileInTheFontsFolder) {
  TempFolder withCollection;
  withCollection.Write(L"msyh.ttc", "font");
  CPvFont preferred(withCollection.Path().c_str());
  EXPECT_TRUE(preferred.isSupportYaHei());
  EXPECT_STREQ(preferred.GetDefaultFace(), L"微软雅黑");
  EXPECT_EQ(preferred.GetDefaultSize(), 18);

  TempFolder empty;
  CPvFont fallback(empty.Path().c_str());
  EXPECT_FALSE(fallback.isSupportYaHei());
  EXPECT_STREQ(fallback.GetDefaultFace(), L"宋体");
  EXPECT_EQ(fallback.GetDefaultSize(), 12);
}

TEST(FontTest, OnlyThePreferredFaceIsChecked) {
  TempFolder folder;
  folder.Write(L"msyh.ttf", "font");
  folder.Write(L"simsun.ttc", "font");
  CPvFont fonts(folder.Path().c_str());
  EXPECT_EQ(fonts.CheckFont(L"微软雅黑"), 1);
  EXPECT_EQ(fonts.CheckFont(L"宋体"), 0);
  EXPECT_EQ(fonts.CheckFont(L"Microsoft YaHei"), 0);
  EXPECT_EQ(fonts.CheckFont(nullptr), 0);
}

TEST(FontTest, CacheSharesFontsPerKey) {
  TempFolder folder;
  CPvFont fonts(folder.Path().c_str());
  HFONT plain = fonts.GetFont(14, L"Tahoma", 0, 0, 0);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(fonts.GetFont(14, L"Tahoma", 0, 0, 0), plain);
  HFONT underlined = fonts.GetFont(14, L"Tahoma", 0, 1, 0);
  EXPECT_NE(underlined, plain);
  EXPECT_NE(fonts.GetFont(14, L"tahoma", 0, 0, 0), plain);  // faces compare case-sensitively
  EXPECT_EQ(fonts.GetFont(12, nullptr, 0, 0, 0), fonts.GetDefaultFont());

  LOGFONTW logFont = {};
  ASSERT_NE(GetObjectW(underlined, sizeof logFont, &logFont), 0);
  EXPECT_EQ(logFont.lfHeight, 14);
  EXPECT_EQ(logFont.lfUnderline, 1);
  EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
  ASSERT_NE(GetObjectW(fonts.GetFont(14, L"Tahoma", 1, 0, 0x101), sizeof logFont, &logFont), 0);
  EXPECT_EQ(logFont.lfWeight, FW_BOLD);
  EXPECT_EQ(logFont.lfItalic, 1);  // low byte only
}

TEST(FontTest, LongFaceNamesShareTheirFirst49Characters) {
  TempFolder folder;
  CPvFont fonts(folder.Path().c_str());
  const std::wstring longFace(60, L'F');
  HFONT font = fonts.GetFont(12, longFace.c_str(), 0, 0, 0);
  EXPECT_EQ(fonts.GetFont(12, longFace.substr(0, 49).c_str(), 0, 0, 0), font);
}

}  // namespace
