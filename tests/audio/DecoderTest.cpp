#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "AudioMedia.h"
#include "FileByteSource.h"
#include "Mp3PcmStream.h"

namespace {

std::unique_ptr<Mp3PcmStream> OpenMedia(const char* name, std::unique_ptr<AcmMp3Decoder> spare = nullptr) {
  auto source = FileByteSource::Open(OpenFileForReading(MediaPath(name).c_str()), 0, 0);
  return source ? Mp3PcmStream::Open(std::move(source), std::move(spare)) : nullptr;
}

// Reads the whole stream in uneven pieces, as wave-out buffers would.
std::vector<int16_t> DecodeAll(Mp3PcmStream& stream) {
  std::vector<uint8_t> bytes;
  uint8_t buffer[7001];
  for (size_t read; (read = stream.Read(buffer, sizeof buffer)) > 0;) bytes.insert(bytes.end(), buffer, buffer + read);
  std::vector<int16_t> samples(bytes.size() / 2);
  memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

struct Reference {
  const char* mp3;
  const char* pcm;
  int channels;
};

}  // namespace

TEST(Mp3Decoding, MatchesTheReferenceDecode) {
  for (const Reference& file : {Reference{"cbr.mp3", "cbr.pcm", 2}, Reference{"vbr.mp3", "vbr.pcm", 2},
                                Reference{"mpeg2-mono.mp3", "mpeg2-mono.pcm", 1}}) {
    SCOPED_TRACE(file.mp3);
    auto stream = OpenMedia(file.mp3);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->PcmFormat().nChannels, file.channels);
    const auto decoded = DecodeAll(*stream);
    EXPECT_EQ(decoded.size() * 2, stream->PcmBytes());
    const auto reference = ReadSamples(MediaPath(file.pcm));
    const PcmMatch match = MatchReference(decoded, reference, file.channels);
    EXPECT_LT(match.relativeError, 0.01);
    // The decode holds the reference (which leaves out the encoder's delay and
    // padding) and less than one frame of padding after it.
    const size_t decodedFrames = decoded.size() / file.channels;
    const size_t referenceFrames = reference.size() / file.channels;
    EXPECT_GE(decodedFrames, match.lagFrames + referenceFrames);
    EXPECT_LT(decodedFrames, match.lagFrames + referenceFrames + 1152);
  }
}

TEST(Mp3Decoding, LengthDoesNotDependOnHeadersOrTags) {
  // The same audio with and without an information frame or an ID3v2 tag.
  const uint64_t cbr = OpenMedia("cbr.mp3")->PcmBytes();
  EXPECT_EQ(OpenMedia("cbr-bare.mp3")->PcmBytes(), cbr);
  EXPECT_EQ(OpenMedia("id3v2.mp3")->PcmBytes(), cbr);
  EXPECT_EQ(OpenMedia("vbr-bare.mp3")->PcmBytes(), OpenMedia("vbr.mp3")->PcmBytes());
  // Two seconds at 44.1 kHz stereo, plus the coder's delay and padding.
  EXPECT_GE(cbr, 2u * 44100 * 4);
  EXPECT_LT(cbr, (2u * 44100 + 2 * 1152) * 4);
  auto tagged = OpenMedia("id3v2.mp3");
  const auto reference = ReadSamples(MediaPath("cbr.pcm"));
  EXPECT_LT(MatchReference(DecodeAll(*tagged), reference, 2).relativeError, 0.01);
}

TEST(Mp3Decoding, LowRateStreamsDecodeToTheirLength) {
  auto stream = OpenMedia("mpeg25-mono.mp3");
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->PcmFormat().nSamplesPerSec, 8000u);
  EXPECT_EQ(DecodeAll(*stream).size() * 2, stream->PcmBytes());
}

TEST(Mp3Decoding, RewindDecodesTheSameAgain) {
  auto stream = OpenMedia("vbr.mp3");
  ASSERT_TRUE(stream);
  const auto first = DecodeAll(*stream);
  EXPECT_TRUE(stream->Ended());
  stream->Rewind();
  EXPECT_FALSE(stream->Ended());
  EXPECT_EQ(DecodeAll(*stream), first);
}

TEST(Mp3Decoding, ADecoderServesStreamAfterStream) {
  // Half a stream leaves the codec in the middle of its frames.
  auto first = OpenMedia("vbr.mp3");
  ASSERT_TRUE(first);
  std::vector<uint8_t> half(first->PcmBytes() / 2);
  first->Read(half.data(), half.size());
  auto second = OpenMedia("cbr.mp3", first->TakeDecoder());
  ASSERT_TRUE(second);
  EXPECT_EQ(DecodeAll(*second), DecodeAll(*OpenMedia("cbr.mp3")));
  // A decoder of another format is not taken.
  auto mono = OpenMedia("mpeg2-mono.mp3", second->TakeDecoder());
  ASSERT_TRUE(mono);
  EXPECT_EQ(DecodeAll(*mono).size() * 2, mono->PcmBytes());
}

TEST(Mp3Decoding, LongStreamsDecodeInBoundedMemory) {
  // Two minutes: the same two seconds of bare frames sixty times over.
  std::ifstream file(MediaPath("cbr-bare.mp3"), std::ios::binary);
  const std::vector<uint8_t> once((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 60; ++i) bytes.insert(bytes.end(), once.begin(), once.end());
  auto stream = Mp3PcmStream::Open(std::make_unique<MemoryByteSource>(bytes.data(), bytes.size()));
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->PcmBytes(), 60 * OpenMedia("cbr-bare.mp3")->PcmBytes());

  // Committed memory; Wine leaves PrivateUsage at 0.
  PROCESS_MEMORY_COUNTERS before = {}, after = {};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  uint64_t decoded = 0;
  uint8_t buffer[8820];
  for (size_t read; (read = stream->Read(buffer, sizeof buffer)) > 0;) decoded += read;
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  EXPECT_EQ(decoded, stream->PcmBytes());  // over 20 MB of PCM...
  ASSERT_GT(before.PagefileUsage, 0u);
  EXPECT_LT(after.PagefileUsage, before.PagefileUsage + 1024 * 1024);  // ...through well under 1 MB
}

TEST(Mp3Decoding, DamagedFilesEndEarlyOrOpenNothing) {
  auto truncated = OpenMedia("truncated.mp3");
  ASSERT_TRUE(truncated);
  EXPECT_LT(truncated->PcmBytes(), OpenMedia("cbr.mp3")->PcmBytes());
  EXPECT_LE(DecodeAll(*truncated).size() * 2, truncated->PcmBytes());

  auto garbage = OpenMedia("garbage-inside.mp3");
  ASSERT_TRUE(garbage);
  const auto decoded = DecodeAll(*garbage);
  EXPECT_TRUE(garbage->Ended());
  EXPECT_GT(decoded.size() * 2, garbage->PcmBytes() / 2);

  for (const char* name : {"noise.mp3", "wave.mp3", "tag-only.mp3", "empty.mp3", "missing.mp3"}) {
    EXPECT_FALSE(OpenMedia(name)) << name;
  }
}
