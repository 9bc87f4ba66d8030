// The sound-card list behind the device combo box (platform-free): the names
// the system reports for its wave-out devices become one item per card, and
// each item knows the audio library's device number that plays on it.
//
// The audio library numbers its devices after wave-out: device 0 plays
// nothing, device n + 1 is wave-out device n, and -1 is the system's default
// output.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr int kDefaultOutputDevice = -1;

// The wave-out devices asked about at start, numbers 0..49.
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

// The device number for item `position` (from 1) of `cards`; the default
// output for a position outside the list.
int DeviceForItem(const std::vector<SoundCard>& cards, int position);
