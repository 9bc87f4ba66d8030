// The test media that tools/make-sounds.sh makes beside the tests, and
// comparison of decoded PCM with a reference decode.
#pragma once

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Full ANSI path of a file in the test media folder.
inline std::string MediaPath(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "audio-media\\" + name;
}

inline std::vector<int16_t> ReadSamples(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 2);
  if (!samples.empty()) memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

struct PcmMatch {
  size_t lagFrames = 0;        // where the reference starts in the decode
  double relativeError = 1.0;  // RMS of the difference over RMS of the reference
};

// Lines `decoded` up with `reference` (which lacks the encoder and decoder
// delay at its start, up to `maxLagFrames`) and measures how far they differ
// over the stretch both cover.
inline PcmMatch MatchReference(const std::vector<int16_t>& decoded, const std::vector<int16_t>& reference, int channels,
                               size_t maxLagFrames = 3000) {
  PcmMatch best;
  const size_t probeStart = 4000 * channels, probeLength = 2000 * channels;
  if (reference.size() < probeStart + probeLength) return best;
  double bestProbe = -1;
  for (size_t lag = 0; lag <= maxLagFrames; ++lag) {
    const size_t shift = lag * channels;
    if (decoded.size() < shift + probeStart + probeLength) break;
    double sum = 0;
    for (size_t i = probeStart; i < probeStart + probeLength; ++i) {
      const double d = double(decoded[i + shift]) - reference[i];
      sum += d * d;
    }
    if (bestProbe < 0 || sum < bestProbe) {
      bestProbe = sum;
      best.lagFrames = lag;
    }
  }
  const size_t shift = best.lagFrames * channels;
  const size_t overlap = std::min(reference.size(), decoded.size() - shift);
  double difference = 0, energy = 0;
  for (size_t i = 0; i < overlap; ++i) {
    const double d = double(decoded[i + shift]) - reference[i];
    difference += d * d;
    energy += double(reference[i]) * reference[i];
  }
  best.relativeError = energy > 0 ? std::sqrt(difference / energy) : 1.0;
  return best;
}
