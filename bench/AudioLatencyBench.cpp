// How quickly bass.dll starts a sound the way the soundboard plays one: free
// the device, initialise it again, open the file, set the volume, play. Prints
// the median and 99th percentile of the time until the play call returns and
// until the device reports the first samples played, quiet and with busy
// threads in another process.
//   audio_latency_bench [file.mp3] [plays] [--load N]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/audio/BassLibrary.h"
#include "AudioPriorityScope.h"
#include "BusyLoad.h"
#include "LatencyReport.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string DefaultMedia() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "audio-media\\cbr.mp3";
}

struct Figures {
  std::vector<double> toPlayReturn, toFirstSound;
  int failures = 0;
};

Figures Measure(BassLibrary& bass, const std::string& file, int plays) {
  Figures figures;
  for (int i = 0; i < plays; ++i) {
    const auto start = Clock::now();
    DWORD stream = 0;
    bool played = false;
    {
      const AudioPriorityScope raised;  // as the soundboard plays
      bass.free();
      bass.init(-1, 44100, 0, nullptr, nullptr);
      stream = bass.Open(file.c_str());
      bass.channelSetAttribute(stream, BassLibrary::kVolume, 1.0f);
      played = bass.channelPlay(stream, TRUE) != FALSE;
    }
    if (!played) {
      ++figures.failures;
      continue;
    }
    figures.toPlayReturn.push_back(Milliseconds(Clock::now() - start));
    while (bass.Position(stream) == 0 && Clock::now() - start < std::chrono::seconds(1)) {
    }
    figures.toFirstSound.push_back(Milliseconds(Clock::now() - start));
    Sleep(5);
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int load = TakeLoadOption(argc, argv);
  const std::string file = argc > 1 ? argv[1] : DefaultMedia();
  const int plays = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
  BassLibrary bass;
  if (!bass.Loaded()) {
    std::fprintf(stderr, "bass.dll or one of its entry points is missing\n");
    return 1;
  }
  Figures quiet, loaded;
  if (!MeasureQuietAndLoaded(
          load, [&] { return Measure(bass, file, plays); }, &quiet, &loaded))
    return 1;
  bass.free();
  if (quiet.toPlayReturn.empty()) {
    std::fprintf(stderr, "no play succeeded on %s\n", file.c_str());
    return 1;
  }
  std::printf("%d plays of %s (free, init, open, volume, play each)\n", plays, file.c_str());
  ReportHeading(load);
  Report("until the play call returns", quiet.toPlayReturn, load > 0 ? &loaded.toPlayReturn : nullptr);
  Report("until the first samples have played", quiet.toFirstSound, load > 0 ? &loaded.toFirstSound : nullptr);
  if (quiet.failures + loaded.failures > 0) std::printf("%d plays failed\n", quiet.failures + loaded.failures);
  return 0;
}
