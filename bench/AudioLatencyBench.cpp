// How quickly bass.dll starts a sound the way the soundboard plays one: free
// the device, initialise it again, open the file, set the volume, play. Prints
// the median and 99th percentile of the time until the play call returns and
// until the device reports the first samples played.
//   audio_latency_bench [file.mp3] [plays]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/audio/BassLibrary.h"
#include "LatencyReport.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string DefaultMedia() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "audio-media\\cbr.mp3";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string file = argc > 1 ? argv[1] : DefaultMedia();
  const int plays = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
  BassLibrary bass;
  if (!bass.Loaded()) {
    std::fprintf(stderr, "bass.dll or one of its entry points is missing\n");
    return 1;
  }
  std::vector<double> toPlayReturn, toFirstSound;
  int failures = 0;
  for (int i = 0; i < plays; ++i) {
    const auto start = Clock::now();
    bass.free();
    bass.init(-1, 44100, 0, nullptr, nullptr);
    const DWORD stream = bass.Open(file.c_str());
    bass.channelSetAttribute(stream, BassLibrary::kVolume, 1.0f);
    if (!bass.channelPlay(stream, TRUE)) {
      ++failures;
      continue;
    }
    toPlayReturn.push_back(Milliseconds(Clock::now() - start));
    while (bass.Position(stream) == 0 && Clock::now() - start < std::chrono::seconds(1)) {
    }
    toFirstSound.push_back(Milliseconds(Clock::now() - start));
    Sleep(5);
  }
  if (toPlayReturn.empty()) {
    std::fprintf(stderr, "no play succeeded on %s\n", file.c_str());
    return 1;
  }
  std::printf("%d plays of %s (free, init, open, volume, play each)\n", plays, file.c_str());
  Report("until the play call returns", toPlayReturn);
  Report("until the first samples have played", toFirstSound);
  if (failures) std::printf("%d plays failed\n", failures);
  return 0;
}
