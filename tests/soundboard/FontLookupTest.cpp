// The framework's fonts on the system at hand: run in the project's prefix,
// where the Chinese system fonts' names map to the installed CJK font, and in
// one without those names (tests/plain-fonts-wine.sh), where every font must
// still come out as a family that exists and has Chinese glyphs.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "ExFramework.h"
#include "ExPaint.h"

namespace {

// The plain-fonts run says so, and the test checks that it holds.
bool WithoutChineseFontNames() {
  return std::getenv("QUOBLY_EXPECT_NO_CHINESE_NAMES") != nullptr;
}

bool GdiplusHasFamily(const std::wstring& face) {
  UniqueGpFontFamily family;
  return Gdiplus::DllExports::GdipCreateFontFamilyFromName(face.c_str(), nullptr, family.Put()) == Gdiplus::Ok;
}

// Whether GDI+ makes a family of `face` and GDI's font of that face has a
// glyph for every character of the soundboard's tab titles.
bool DrawsChinese(const std::wstring& face) {
  if (face.empty() || !GdiplusHasFamily(face)) return false;
  const std::wstring text = L"主持喊麦搞笑音效";
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  UniqueFont font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str()));
  if (!dc || !font) return false;
  const HGDIOBJ previous = SelectObject(dc.Get(), font.Get());
  std::vector<WORD> glyphs(text.size());
  const DWORD mapped = GetGlyphIndicesW(dc.Get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                                        GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc.Get(), previous);
  return mapped == text.size() && std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
}

class FontLookupTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ExFramework::Startup()); }
  void TearDown() override { ExFramework::Shutdown(); }
};

TEST_F(FontLookupTest, ThePrefixHasTheChineseFontNamesOrNotAsTheRunSays) {
  for (const wchar_t* name : {L"宋体", L"SimSun", L"微软雅黑", L"Microsoft YaHei"}) {
    EXPECT_EQ(GdiplusHasFamily(name), !WithoutChineseFontNames()) << name;
  }
}

TEST_F(FontLookupTest, EveryFontComesOutInAFamilyWithChineseGlyphs) {
  ExFramework& framework = *ExFramework::Get();
  ASSERT_NE(framework.DefaultFont(), nullptr);
  EXPECT_TRUE(DrawsChinese(framework.DefaultFace())) << framework.DefaultFace();
  // Missing faces, and Tahoma, which exists without Chinese glyphs.
  for (const wchar_t* named : {L"宋体", L"微软雅黑", L"Tahoma", L"No Such Face"}) {
    const std::wstring face = framework.Fonts().Face(named);
    EXPECT_TRUE(DrawsChinese(face)) << named << " gave " << face;
    EXPECT_TRUE(framework.Fonts().MakeFont(named, 13, Gdiplus::FontStyleBold)) << named;
  }
  EXPECT_TRUE(ExCreateFont({"No Such Face", 14, -1}));
  EXPECT_TRUE(ExCreateFont({std::string(), 13, -1}));
}

}  // namespace
