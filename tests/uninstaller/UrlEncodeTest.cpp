#include <gtest/gtest.h>

#include <string>

#include "UrlEncode.h"

namespace {

std::string Encode(std::string_view text) {
  std::string out;
  EXPECT_TRUE(PercentEncodeUrl(text, 1023, out));
  return out;
}

TEST(PercentEncodeUrlTest, EscapesDelimitersAndControlBytesOnly) {
  EXPECT_EQ(Encode(" \"#$&+,;<=>?@[\\]^`{|}"), "%20%22%23%24%26%2b%2c%3b%3c%3d%3e%3f%40%5b%5c%5d%5e%60%7b%7c%7d");
  EXPECT_EQ(Encode("\x01\t\x1f\x7f\xff"), "%01%09%1f%7f%ff");
  EXPECT_EQ(Encode("az-AZ_09.~!*'():/%"), "az-AZ_09.~!*'():/%");
  EXPECT_EQ(Encode("100%25"), "100%25");
}

TEST(PercentEncodeUrlTest, ResolvesDotSegmentsAfterSlash) {
  EXPECT_EQ(Encode("a/./b"), "a/b");
  EXPECT_EQ(Encode("a/b/../c"), "a/c");
  EXPECT_EQ(Encode("a/b/./../c/"), "a/c/");
  EXPECT_EQ(Encode("b/../c"), "c");
  EXPECT_EQ(Encode("/../c"), "/c");
  // Only whole segments: dots elsewhere, or not followed by a slash, stay.
  EXPECT_EQ(Encode("a/.b/..c/x.."), "a/.b/..c/x..");
  EXPECT_EQ(Encode("a/b/.."), "a/b/..");
  EXPECT_EQ(Encode("./a"), "./a");
}

TEST(PercentEncodeUrlTest, RefusesResultLongerThanLimit) {
  std::string out;
  EXPECT_TRUE(PercentEncodeUrl(std::string(341, ' '), 1023, out));
  EXPECT_EQ(out.size(), 1023u);
  EXPECT_FALSE(PercentEncodeUrl(std::string(342, ' '), 1023, out));
  EXPECT_FALSE(PercentEncodeUrl(std::string(1024, 'a'), 1023, out));
}

}  // namespace
