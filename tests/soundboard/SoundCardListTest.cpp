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

TEST(SoundCardListTest, TheDefaultOutputComesFirstAndEachCardPlaysOnItsFirstWaveOutDevice) {
  // Library device n + 1 is wave-out device n; a repeated name keeps the first.
  const auto cards = ListSoundCards(WaveOutNames({"Speakers", "USB Headset", "Speakers", "HDMI"}));
  EXPECT_EQ(DeviceForItem(cards, kDefaultOutputItem), kDefaultOutputDevice);
  EXPECT_EQ(CardNameForItem(cards, kDefaultOutputItem), "");
  EXPECT_EQ(DeviceForItem(cards, 2), 1);
  EXPECT_EQ(DeviceForItem(cards, 3), 2);
  EXPECT_EQ(DeviceForItem(cards, 4), 4);
  EXPECT_EQ(CardNameForItem(cards, 4), "HDMI");
}

TEST(SoundCardListTest, AGapInTheDeviceNumbersKeepsTheLaterCardsOnTheirOwnDevices) {
  const auto cards = ListSoundCards(WaveOutNames({"Speakers", "", "HDMI"}));
  ASSERT_EQ(cards.size(), 2u);
  EXPECT_EQ(cards[1].name, "HDMI");
  EXPECT_EQ(cards[1].device, 3);
}

TEST(SoundCardListTest, PositionsOutsideTheListPlayOnTheDefaultOutput) {
  const auto cards = ListSoundCards(WaveOutNames({"Speakers"}));
  for (int position : {-1, 0, 3}) {
    EXPECT_EQ(DeviceForItem(cards, position), kDefaultOutputDevice) << position;
    EXPECT_EQ(CardNameForItem(cards, position), "") << position;
  }
  EXPECT_EQ(DeviceForItem({}, 2), kDefaultOutputDevice);
  EXPECT_TRUE(ListSoundCards(WaveOutNames({})).empty());
}

// The stored choice, by name, against the cards present at start.
TEST(SoundCardListTest, AStoredCardIsFoundByItsNameOrShownMissingOnTheDefaultItem) {
  const auto cards = ListSoundCards(WaveOutNames({"Speakers", "USB Headset"}));
  const struct {
    const char* stored;
    int item;
    bool missing;
  } kCases[] = {
      {"", kDefaultOutputItem, false},
      {"Speakers", 2, false},
      {"USB Headset", 3, false},
      {"Virtual Cable", kDefaultOutputItem, true},
      {"usb headset", kDefaultOutputItem, true},  // names compare by their bytes
  };
  for (const auto& c : kCases) {
    const StoredCardPlace place = PlaceStoredCard(cards, c.stored);
    EXPECT_EQ(place.item, c.item) << c.stored;
    EXPECT_EQ(place.missing, c.missing) << c.stored;
  }
  EXPECT_TRUE(PlaceStoredCard({}, "Speakers").missing);
}

// Device numbers shift as cards come and go; plays follow the name.
TEST(SoundCardListTest, ACardsDeviceIsLookedUpByNameAmongTheDevicesPresentNow) {
  EXPECT_EQ(DeviceForName(WaveOutNames({"Speakers", "USB Headset"}), "USB Headset"), 2);
  EXPECT_EQ(DeviceForName(WaveOutNames({"HDMI", "Speakers", "USB Headset"}), "USB Headset"), 3);  // one came first
  EXPECT_EQ(DeviceForName(WaveOutNames({"Speakers"}), "USB Headset"), kDefaultOutputDevice);    // unplugged
  EXPECT_EQ(DeviceForName(WaveOutNames({"Speakers", "", "USB Headset"}), "USB Headset"), 3);
  EXPECT_EQ(DeviceForName(WaveOutNames({"Speakers"}), ""), kDefaultOutputDevice);
  EXPECT_EQ(DeviceForName({}, "Speakers"), kDefaultOutputDevice);
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
