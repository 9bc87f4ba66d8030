#include <gtest/gtest.h>

#include <cstring>

#include "SkinPackage.h"

namespace {

std::vector<uint8_t> Entry(const std::u16string& name, const std::string& data) {
  std::vector<uint8_t> bytes = skinpkg::EntryHeader(name, static_cast<uint32_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

TEST(SkinPackageTest, EntryNamesAreBaseNamesUpToTheFirstDot) {
  EXPECT_EQ(skinpkg::EntryName(u"C:\\skin\\button.png"), u"button");
  EXPECT_EQ(skinpkg::EntryName(u"C:\\skin.d\\checkbox.big.png"), u"checkbox");
  EXPECT_EQ(skinpkg::EntryName(u"C:\\skin\\README"), u"");
  EXPECT_EQ(skinpkg::EntryName(u"plain.png"), u"plain");
  EXPECT_EQ(skinpkg::EntryName(u"C:\\" + std::u16string(40, u'n') + u".png"), std::u16string(29, u'n'));
}

TEST(SkinPackageTest, HeaderHoldsNameAndLittleEndianSize) {
  const std::vector<uint8_t> header = skinpkg::EntryHeader(u"ab", 0x01020304);
  ASSERT_EQ(header.size(), 64u);
  EXPECT_EQ(header[0], 'a');
  EXPECT_EQ(header[2], 'b');
  EXPECT_EQ(header[4], 0);
  EXPECT_EQ(header[60], 0x04);
  EXPECT_EQ(header[63], 0x01);
}

TEST(SkinPackageTest, FindsTheFirstEntryOfAName) {
  std::vector<uint8_t> package = Entry(u"button", "first");
  const std::vector<uint8_t> empty = Entry(u"empty", "");
  const std::vector<uint8_t> again = Entry(u"button", "second");
  package.insert(package.end(), empty.begin(), empty.end());
  package.insert(package.end(), again.begin(), again.end());

  skinpkg::EntryData found;
  ASSERT_TRUE(skinpkg::FindEntry(package.data(), package.size(), u"button", &found));
  EXPECT_EQ(std::string(package.begin() + found.offset, package.begin() + found.offset + found.size), "first");
  ASSERT_TRUE(skinpkg::FindEntry(package.data(), package.size(), u"empty", &found));
  EXPECT_EQ(found.size, 0u);
  EXPECT_FALSE(skinpkg::FindEntry(package.data(), package.size(), u"Button", &found));
  EXPECT_FALSE(skinpkg::FindEntry(nullptr, 0, u"button", &found));
}

TEST(SkinPackageTest, DamagedPackagesEndTheSearchSafely) {
  std::vector<uint8_t> package = Entry(u"good", "data");
  std::vector<uint8_t> overlong = Entry(u"wanted", "xy");
  overlong[60] = 0xFF;  // claims 255 bytes, two remain
  package.insert(package.end(), overlong.begin(), overlong.end());
  skinpkg::EntryData found;
  EXPECT_FALSE(skinpkg::FindEntry(package.data(), package.size(), u"wanted", &found));
  EXPECT_TRUE(skinpkg::FindEntry(package.data(), package.size(), u"good", &found));

  std::vector<uint8_t> unterminated = Entry(u"x", "");
  for (size_t i = 0; i < 60; ++i) unterminated[i] = 'z';
  EXPECT_FALSE(skinpkg::FindEntry(unterminated.data(), unterminated.size(), u"x", &found));

  std::vector<uint8_t> cut = Entry(u"cut", "");
  cut.resize(40);
  EXPECT_FALSE(skinpkg::FindEntry(cut.data(), cut.size(), u"cut", &found));

  std::vector<uint8_t> huge = Entry(u"huge", "");
  huge[60] = huge[61] = huge[62] = huge[63] = 0xFF;  // offset arithmetic must not wrap
  EXPECT_FALSE(skinpkg::FindEntry(huge.data(), huge.size(), u"after", &found));
}

}  // namespace
