// What bass.dll really hands to wave-out, recorded by the ALSA file sink that
// these tests run with as the default sound device.
#include <gtest/gtest.h>

#include <cmath>

#include "AudioMedia.h"
#include "BassLibrary.h"
#include "TestSupport.h"

namespace {

std::string CapturePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "audio-capture.pcm";
}

uint64_t CapturedBytes() {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(CapturePath().c_str(), GetFileExInfoStandard, &data)) return 0;
  return uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Empties the recording; the sink keeps appending to the same file.
void ClearCapture() {
  UniqueFileHandle file(CreateFileA(CapturePath().c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

double Rms(const std::vector<int16_t>& samples) {
  double energy = 0;
  for (int16_t sample : samples) energy += double(sample) * sample;
  return samples.empty() ? 0 : std::sqrt(energy / double(samples.size()));
}

class CaptureTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bass.Loaded());
    ASSERT_TRUE(bass.init(-1, 44100, 0, nullptr, nullptr));
  }

  // Plays `name` to its end and returns what was recorded meanwhile. Frees
  // and initialises the device first, as the soundboard does before every
  // play, so each play after the first reuses the kept wave-out device.
  std::vector<int16_t> PlayToEnd(const char* name, float volume = 1.0f) {
    EXPECT_TRUE(bass.free());
    EXPECT_TRUE(bass.init(-1, 44100, 0, nullptr, nullptr));
    const DWORD stream = bass.Open(MediaPath(name).c_str());
    EXPECT_NE(stream, 0u);
    ClearCapture();
    bass.channelSetAttribute(stream, BassLibrary::kVolume, volume);
    EXPECT_TRUE(bass.channelPlay(stream, TRUE));
    EXPECT_TRUE(WaitUntil([&] { return bass.Position(stream) == bass.Length(stream); }, 10000));
    // The device goes on with silence after the end, so the sound has landed
    // once a little more than its length is recorded.
    EXPECT_TRUE(WaitUntil([&] { return CapturedBytes() > bass.Length(stream) + 20000; }, 5000));
    return ReadSamples(CapturePath());
  }

  BassLibrary bass;
};

}  // namespace

TEST_F(CaptureTest, PlaysTheDecodedSoundOfEachFormat) {
  struct Case {
    const char* mp3;
    const char* reference;
    int channels;
  };
  for (const Case& file :
       {Case{"cbr.mp3", "cbr.pcm", 2}, Case{"vbr.mp3", "vbr.pcm", 2}, Case{"mpeg2-mono.mp3", "mpeg2-mono.pcm", 1}}) {
    SCOPED_TRACE(file.mp3);
    const auto played = PlayToEnd(file.mp3);
    const auto reference = ReadSamples(MediaPath(file.reference));
    const PcmMatch match = MatchReference(played, reference, file.channels);
    EXPECT_LT(match.relativeError, 0.01);
    EXPECT_GE(played.size() / file.channels, match.lagFrames + reference.size() / file.channels);
  }
}

TEST_F(CaptureTest, VolumeScalesWhatIsPlayed) {
  const double full = Rms(PlayToEnd("cbr.mp3"));
  const double half = Rms(PlayToEnd("cbr.mp3", 0.5f));
  EXPECT_NEAR(half / full, 0.5, 0.01);
  EXPECT_EQ(Rms(PlayToEnd("cbr.mp3", 0.0f)), 0.0);
}

TEST_F(CaptureTest, FreeSilencesAtOnce) {
  const DWORD stream = bass.Open(MediaPath("tone-10s.mp3").c_str());
  ClearCapture();
  ASSERT_TRUE(bass.channelPlay(stream, TRUE));
  ASSERT_TRUE(WaitUntil([&] { return CapturedBytes() > 44100 * 4 / 2; }, 5000));
  ASSERT_TRUE(bass.free());
  const uint64_t atFree = CapturedBytes();
  Sleep(500);
  // The kept device goes on with silence; the tone ends with at most what was
  // already on its way to the sink.
  const auto played = ReadSamples(CapturePath());
  size_t lastSound = 0;
  for (size_t i = 0; i < played.size(); ++i) {
    if (played[i] != 0) lastSound = i;
  }
  EXPECT_LT(lastSound * 2, atFree + 44100 * 4 * 3 / 10);
  EXPECT_LT(lastSound * 2, 10u * 44100 * 4 / 2);
}
