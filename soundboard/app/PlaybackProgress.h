// How a sound button follows its sound (platform-free).
#pragma once

#include <cstdint>

// What the audio library returns for a position or length it cannot give.
constexpr std::uint64_t kChannelError = ~std::uint64_t{0};

// The played share of the sound in whole percent, 0..100.
int PlayedPercent(std::uint64_t position, std::uint64_t length);

// Whether a progress watch goes on after reading this position: not once the
// sound has reached its end, nor when the library reports an error, nor when
// a later play or a stop has replaced the watched stream.
bool KeepWatching(std::uint64_t position, std::uint64_t length, bool streamIsCurrent);
