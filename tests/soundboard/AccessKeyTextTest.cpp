// Access-key marks in control and menu text: which key a text names and how
// it is shown, with "&&" a plain "&" in both.
#include <gtest/gtest.h>

#include "ExAccessKeyText.h"

namespace {

TEST(AccessKeyTextTest, AccessKeyIsTheCharacterAfterTheFirstSingleAmpersand) {
  EXPECT_EQ(AccessKeyOf(L"Bind (&B)"), L'B');
  EXPECT_EQ(AccessKeyOf(L"&a&b"), L'a');
  EXPECT_EQ(AccessKeyOf(L"plain"), 0);
  EXPECT_EQ(AccessKeyOf(L"trailing&"), 0);
  EXPECT_EQ(AccessKeyOf(L""), 0);
  // A doubled ampersand is text, never a key, wherever it stands.
  EXPECT_EQ(AccessKeyOf(L"Save && &Quit"), L'Q');
  EXPECT_EQ(AccessKeyOf(L"&&x"), 0);
  EXPECT_EQ(AccessKeyOf(L"&&&x"), L'x');
  EXPECT_EQ(AccessKeyOf(L"a&&"), 0);
}

TEST(AccessKeyTextTest, ShownTextDropsMarksAndKeepsOneAmpersandOfTwo) {
  EXPECT_EQ(WithoutAccessMarks(L"Bind (&B)"), L"Bind (B)");
  EXPECT_EQ(WithoutAccessMarks(L"Save && &Quit"), L"Save & Quit");
  EXPECT_EQ(WithoutAccessMarks(L"&&&x"), L"&x");
  EXPECT_EQ(WithoutAccessMarks(L"trailing&"), L"trailing&");
  EXPECT_EQ(WithoutAccessMarks(L""), L"");
}

}  // namespace
