// The sound-card list behind the device combo box (platform-free): the names
// the system reports for its wave-out devices become one item per card, and
// each item knows the audio library's device number that plays on it. The
// user's choice is kept by the card's name: device numbers shift as cards
// come and go.
//
// The audio library numbers its devices after wave-out: device 0 plays
// nothing, device n + 1 is wave-out device n, and -1 is the system's default
// output.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr int kDefaultOutputDevice = -1;

// At most this many wave-out devices are asked about, numbers 0..49.
constexpr int kWaveOutDevicesAsked = 50;

struct SoundCard {
  std::string name;  // ANSI, as the system reports it
  int device;        // the audio library's device number
};

// The text of a fixed name field: up to its first zero byte, or the whole
// field when it holds none.
std::string NameFromField(const char* field, std::size_t fieldSize);

// One card per distinct non-empty name, in the order first found; a name
// shared by several devices plays on the first of them. Item 1 is therefore
// the card of wave-out device 0, the system's first card. `waveOutNames[n]`
// is the name of wave-out device n, empty where there is none.
std::vector<SoundCard> ListSoundCards(const std::vector<std::string>& waveOutNames);

// The combo's items: the system's default output first, so that a user can
// go back to it, then the cards in the list's order.
constexpr int kDefaultOutputItem = 1;

// The device number for combo item `position` (from 1); the default output
// for the first item and for a position outside the list.
int DeviceForItem(const std::vector<SoundCard>& cards, int position);
// The name of the card combo item `position` stands for; "" for the default
// output and for a position outside the list.
std::string CardNameForItem(const std::vector<SoundCard>& cards, int position);

// Where a stored card name puts the combo: its card's item, or the default
// output's item when it is "" or, `missing`, when no card has that name
// (unplugged, or its driver gone); the stored name is kept then.
struct StoredCardPlace {
  int item;
  bool missing;
};
StoredCardPlace PlaceStoredCard(const std::vector<SoundCard>& cards, const std::string& storedName);

// The device number that plays on the card named `name` among the wave-out
// devices now named `waveOutNames`; the default output for "" and for a
// name that no device has.
int DeviceForName(const std::vector<std::string>& waveOutNames, const std::string& name);
