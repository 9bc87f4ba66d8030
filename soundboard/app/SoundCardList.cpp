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

int DeviceForItem(const std::vector<SoundCard>& cards, int position) {
  if (position < 1 || static_cast<std::size_t>(position) > cards.size()) return kDefaultOutputDevice;
  return cards[position - 1].device;
}
