#include "PlaybackProgress.h"

#include <cmath>

int PlayedPercent(std::uint64_t position, std::uint64_t length) {
  if (length == 0 || length == kChannelError || position == kChannelError) return 0;
  if (position >= length) return 100;
  return static_cast<int>(std::lround(100.0 * static_cast<double>(position) / static_cast<double>(length)));
}

bool KeepWatching(std::uint64_t position, std::uint64_t length, bool streamIsCurrent) {
  return streamIsCurrent && position != length && position != kChannelError && length != kChannelError;
}
