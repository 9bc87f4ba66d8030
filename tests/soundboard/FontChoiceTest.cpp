// The order in which the framework settles on a font face, against systems
// described by hand: what GDI+ draws, which faces have Chinese glyphs, and
// the message font.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ExFontChoice.h"

namespace {

struct FakeSystem {
  std::set<std::wstring> drawable;
  std::set<std::wstring> chinese;
  std::vector<std::wstring> chineseFamilies;
  std::wstring messageFace;
  int enumerations = 0;

  ExFontProbe Probe() {
    ExFontProbe probe;
    probe.drawable = [this](const std::wstring& face) { return drawable.count(face) != 0; };
    probe.chinese = [this](const std::wstring& face) { return chinese.count(face) != 0; };
    probe.chineseFamilies = [this] {
      ++enumerations;
      return chineseFamilies;
    };
    probe.messageFace = [this] { return messageFace; };
    return probe;
  }
};

TEST(FontChoiceTest, NamedFacesComeFirstThenTheEnglishNamesOfTheChineseSystemFonts) {
  FakeSystem chineseWindows{
      {L"宋体", L"SimSun", L"微软雅黑"}, {L"宋体", L"SimSun", L"微软雅黑"}, {L"宋体"}, L"微软雅黑"};
  EXPECT_EQ(ExChooseFontFace(L"宋体", chineseWindows.Probe()), L"宋体");
  EXPECT_EQ(ExChooseFontFace(L"微软雅黑", chineseWindows.Probe()), L"微软雅黑");
  // The installed families are only listed when the names do not do.
  EXPECT_EQ(chineseWindows.enumerations, 0);

  FakeSystem englishWindows{{L"SimSun", L"Microsoft YaHei", L"Tahoma"}, {L"SimSun", L"Microsoft YaHei"}, {}, L"Tahoma"};
  EXPECT_EQ(ExChooseFontFace(L"宋体", englishWindows.Probe()), L"SimSun");
  englishWindows.drawable.erase(L"SimSun");
  EXPECT_EQ(ExChooseFontFace(L"宋体", englishWindows.Probe()), L"Microsoft YaHei");
}

TEST(FontChoiceTest, AFaceWithoutChineseGlyphsGivesWayToAnInstalledChineseFamily) {
  // Wine without font replacements: Tahoma exists but draws no Chinese.
  FakeSystem wine{{L"Tahoma", L"WenQuanYi Micro Hei", L"@WenQuanYi Micro Hei"},
                  {L"WenQuanYi Micro Hei", L"@WenQuanYi Micro Hei"},
                  {L"Fixedsys", L"@WenQuanYi Micro Hei", L"WenQuanYi Micro Hei"},
                  L"Tahoma"};
  // Vertical faces and families GDI+ cannot draw (bitmap fonts) are passed over.
  wine.chinese.insert(L"Fixedsys");
  EXPECT_EQ(ExChooseFontFace(L"Tahoma", wine.Probe()), L"WenQuanYi Micro Hei");
  EXPECT_EQ(ExChooseFontFace(L"宋体", wine.Probe()), L"WenQuanYi Micro Hei");
  EXPECT_EQ(ExChooseFontFace(L"", wine.Probe()), L"WenQuanYi Micro Hei");
}

TEST(FontChoiceTest, WithoutAnyChineseFontTheNamedFaceThenTheMessageFontThenGenericSansSerif) {
  FakeSystem western{{L"Segoe UI", L"Arial"}, {}, {}, L"Segoe UI"};
  EXPECT_EQ(ExChooseFontFace(L"Arial", western.Probe()), L"Arial");
  EXPECT_EQ(ExChooseFontFace(L"宋体", western.Probe()), L"Segoe UI");

  western.messageFace = L"MS Shell Dlg";  // a name GDI+ does not draw
  EXPECT_EQ(ExChooseFontFace(L"宋体", western.Probe()), L"");
  western.messageFace.clear();
  EXPECT_EQ(ExChooseFontFace(L"宋体", western.Probe()), L"");
}

}  // namespace
