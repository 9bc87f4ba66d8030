#include "SoundCardList.h"

#include <algorithm>
#include <cstring>

std::string NameFromField(const char* field, std::size_t fieldSize) {
  if (field == nullptr) return std::string();
  const void* end = std::memchr(field, '\0', fieldSize);
  return std::string(field, end != nullptr ? static_cast<const char*>(end) - field : fieldSize);
}

std::vector<SoundCard> ListSoundCards(const std::vector<std::string>& waveOutNames) {
  std::vector<SoundCard> cards;
  for (std::size_t waveOut = 0; waveOut < waveOutNames.size(); ++waveOut) {
    const std::string& name = waveOutNames[waveOut];
    if (name.empty()) continue;  // a device number with no device behind it
    const bool listed =
        std::any_of(cards.begin(), cards.end(), [&name](const SoundCard& card) { return card.name == name; });
    if (!listed) cards.push_back({name, static_cast<int>(waveOut) + 1});
  }
  return cards;
}

namespace {

// The card combo item `position` stands for; null for the default output.
const SoundCard* CardForItem(const std::vector<SoundCard>& cards, int position) {
  const int card = position - kDefaultOutputItem;  // from 1
  if (card < 1 || static_cast<std::size_t>(card) > cards.size()) return nullptr;
  return &cards[card - 1];
}

}  // namespace

int DeviceForItem(const std::vector<SoundCard>& cards, int position) {
  const SoundCard* card = CardForItem(cards, position);
  return card != nullptr ? card->device : kDefaultOutputDevice;
}

std::string CardNameForItem(const std::vector<SoundCard>& cards, int position) {
  const SoundCard* card = CardForItem(cards, position);
  return card != nullptr ? card->name : std::string();
}

StoredCardPlace PlaceStoredCard(const std::vector<SoundCard>& cards, const std::string& storedName) {
  if (storedName.empty()) return {kDefaultOutputItem, false};
  const auto found =
      std::find_if(cards.begin(), cards.end(), [&storedName](const SoundCard& card) { return card.name == storedName; });
  if (found == cards.end()) return {kDefaultOutputItem, true};
  return {kDefaultOutputItem + 1 + static_cast<int>(found - cards.begin()), false};
}

int DeviceForName(const std::vector<std::string>& waveOutNames, const std::string& name) {
  if (name.empty()) return kDefaultOutputDevice;
  const std::vector<SoundCard> cards = ListSoundCards(waveOutNames);
  return DeviceForItem(cards, PlaceStoredCard(cards, name).item);
}
