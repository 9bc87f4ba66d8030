#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SoundCardList.h"

namespace {

// The names wave-out reports for devices 0..49: the given ones, then empties.
std::vector<std::string> WaveOutNames(std::vector<std::string> present) {
  present.resize(kWaveOutDevicesAsked);
  return present;
}

TEST(SoundCardListTest, ListsEachCardOnceInTheOrderFirstFoundWithoutTheEmptyName) {
  const auto cards = ListSoundCards(WaveOutNames({"Speakers", "USB Headset", "Speakers", "HDMI", "USB Headset"}));
  ASSERT_EQ(cards.size(), 3u);
  EXPECT_EQ(cards[0].name, "Speakers");
  EXPECT_EQ(cards[1].name, "USB Headset");
  EXPECT_EQ(cards[2].name, "HDMI");
}

TEST(SoundCardListTest, EachCardPlaysOnTheLibraryDeviceOfItsFirstWaveOutDevice) {
  // Library device n + 1 is wave-out device n; a repeated name keeps the first.
  const auto cards = ListSoundCards(WaveOutNames({"Speakers", "USB Headset", "Speakers", "HDMI"}));
  EXPECT_EQ(DeviceForItem(cards, 1), 1);
  EXPECT_EQ(DeviceForItem(cards, 2), 2);
  EXPECT_EQ(DeviceForItem(cards, 3), 4);
}

TEST(SoundCardListTest, AGapInTheDeviceNumbersKeepsTheLaterCardsOnTheirOwnDevices) {
  const auto cards = ListSoundCards(WaveOutNames({"Speakers", "", "HDMI"}));
  ASSERT_EQ(cards.size(), 2u);
  EXPECT_EQ(cards[1].name, "HDMI");
  EXPECT_EQ(cards[1].device, 3);
}

TEST(SoundCardListTest, PositionsOutsideTheListPlayOnTheDefaultOutput) {
  const auto cards = ListSoundCards(WaveOutNames({"Speakers"}));
  EXPECT_EQ(DeviceForItem(cards, 0), kDefaultOutputDevice);
  EXPECT_EQ(DeviceForItem(cards, 2), kDefaultOutputDevice);
  EXPECT_EQ(DeviceForItem({}, 1), kDefaultOutputDevice);
  EXPECT_TRUE(ListSoundCards(WaveOutNames({})).empty());
}

TEST(SoundCardListTest, NamesCompareByExactBytes) {
  // GBK names and case differences are different cards.
  const auto cards = ListSoundCards(WaveOutNames({"\xC9\xF9\xBF\xA8", "speakers", "Speakers", "\xC9\xF9\xBF\xA8"}));
  ASSERT_EQ(cards.size(), 3u);
  EXPECT_EQ(cards[0].name, "\xC9\xF9\xBF\xA8");
}

TEST(SoundCardListTest, AFieldNameEndsAtItsFirstZeroOrAtTheFieldsEnd) {
  const char terminated[8] = {'O', 'u', 't', '\0', 'x', 'y', 'z', '\0'};
  EXPECT_EQ(NameFromField(terminated, sizeof terminated), "Out");
  const char full[4] = {'A', 'B', 'C', 'D'};  // a driver that fills every byte
  EXPECT_EQ(NameFromField(full, sizeof full), "ABCD");
  const char empty[4] = {};
  EXPECT_EQ(NameFromField(empty, sizeof empty), "");
  EXPECT_EQ(NameFromField(nullptr, 32), "");
}

}  // namespace
