// Plays one sound the way the soundboard does at start: the card stored in
// the binding file, looked up by name among the wave-out devices this
// process finds, then waits until the sound has played to its end. Prints
// the device it played on.
//   card_choice_probe BINDING_FILE SOUND_FILE
#include <windows.h>

#include <cstdio>

#include "AudioPlayer.h"
#include "BindingFile.h"

namespace {

constexpr DWORD kWaitStepMs = 20;
constexpr int kMostSteps = 500;  // ten seconds

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  AudioPlayer player;
  player.set_card(ReadSoundCardName(argv[1]));
  player.play_path(argv[2], nullptr);
  const DWORD stream = player.stream();
  if (stream == 0) return 1;
  const std::uint64_t length = player.length(stream);
  for (int step = 0; step < kMostSteps && player.position(stream) < length; ++step) Sleep(kWaitStepMs);
  const bool played = length > 0 && player.position(stream) >= length;
  std::printf("device=%d\n", player.device());
  player.stop();
  return played ? 0 : 1;
}
