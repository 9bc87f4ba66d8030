#include "Mp3FrameReader.h"

#include <gtest/gtest.h>

#include "Mp3Bytes.h"

namespace {

std::optional<Mp3Layout> Probe(const Bytes& bytes) {
  MemoryByteSource source(bytes.data(), bytes.size());
  return ProbeMp3(source);
}

// Offsets of the frames the reader walks over, from the probed start.
std::vector<uint64_t> FrameOffsets(const Bytes& bytes) {
  MemoryByteSource source(bytes.data(), bytes.size());
  const auto layout = ProbeMp3(source);
  std::vector<uint64_t> offsets;
  if (!layout) return offsets;
  Mp3FrameReader reader(source, layout->audioBegin, layout->audioEnd, layout->format);
  Mp3Frame frame;
  while (reader.Next(&frame)) {
    EXPECT_EQ(frame.size, size_t(ParseMp3FrameHeader(frame.bytes, frame.size)->frameBytes));
    offsets.push_back(frame.offset);
  }
  return offsets;
}

}  // namespace

TEST(Mp3Probe, SkipsTagsAtBothEnds) {
  Bytes file = Id3v2Tag(100);
  Append(file, Id3v2Tag(50, true));
  const size_t audioBegin = file.size();
  AppendFrames(file, Mpeg1Frame(), 10);
  const size_t audioEnd = file.size();
  Append(file, ApeTag(64));
  Append(file, Id3v1Tag());

  const auto layout = Probe(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->audioBegin, audioBegin);
  EXPECT_EQ(layout->audioEnd, audioEnd);
  EXPECT_EQ(layout->frameCount, 10u);
  EXPECT_EQ(layout->pcmBytes, 10u * 1152 * 2 * 2);
  EXPECT_EQ(FrameOffsets(file).size(), 10u);
}

TEST(Mp3Probe, LengthOfMonoAndLowRateStreams) {
  Bytes mpeg2;
  AppendFrames(mpeg2, Frame(kMpeg2Mono48, 156), 7);
  EXPECT_EQ(Probe(mpeg2)->pcmBytes, 7u * 576 * 2);
  Bytes mpeg25;
  AppendFrames(mpeg25, Frame(kMpeg25Mono16, 144), 3);
  EXPECT_EQ(Probe(mpeg25)->pcmBytes, 3u * 576 * 2);
}

TEST(Mp3Probe, TakesTheCountOfAnInformationFrameThatFits) {
  Bytes file = InfoFrame("Info", 10, 11 * 417);
  AppendFrames(file, Mpeg1Frame(), 10);
  auto layout = Probe(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->audioBegin, 417u);  // the information frame holds no audio
  EXPECT_EQ(layout->frameCount, 10u);

  // Without a byte count the claim is taken as it stands (the stream may end early).
  file = InfoFrame("Xing", 500, 0);
  AppendFrames(file, Mpeg1Frame(), 10);
  EXPECT_EQ(Probe(file)->frameCount, 500u);
}

TEST(Mp3Probe, CountsTheFramesOfACutOffFile) {
  // The information frame speaks of far more bytes than are left.
  Bytes file = InfoFrame("Xing", 1000, 1001 * 417);
  AppendFrames(file, Mpeg1Frame(), 20);
  file.resize(file.size() - 100);  // the last frame is cut off
  const auto layout = Probe(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->frameCount, 19u);
  EXPECT_EQ(FrameOffsets(file).size(), 19u);
}

TEST(Mp3Probe, CountsWhenTheInformationFrameHasNoCount) {
  Bytes file = InfoFrame("Info", 0, 0);
  AppendFrames(file, Mpeg1Frame(), 4);
  EXPECT_EQ(Probe(file)->frameCount, 4u);
}

TEST(Mp3Probe, FindsNoAudioInOtherFiles) {
  EXPECT_FALSE(Probe(Bytes()));
  EXPECT_FALSE(Probe(Id3v2Tag(100)));
  EXPECT_FALSE(Probe(Bytes(5000, 0x00)));
  EXPECT_FALSE(Probe(Bytes(5000, 0xFF)));
  // A tag that claims more than the file holds.
  Bytes tag = Id3v2Tag(10);
  tag[6] = 0x7F;
  EXPECT_FALSE(Probe(tag));
  // A lone header-like pattern that no second frame confirms.
  Bytes lone = Frame(kMpeg1Stereo128, 417);
  lone.resize(3000, 0x11);
  EXPECT_FALSE(Probe(lone));
  // Only an information frame: nothing to play.
  EXPECT_FALSE(Probe(InfoFrame("Info", 5, 0)));
  // A frame header behind more than 64 KiB of other data.
  Bytes late(70000, 0);
  AppendFrames(late, Mpeg1Frame(), 5);
  EXPECT_FALSE(Probe(late));
  // Tags and nothing else: no bytes are left to look for frames in.
  EXPECT_FALSE(Probe(ApeTag(0)));
  Bytes tagsOnly = Id3v2Tag(20);
  Append(tagsOnly, Id3v1Tag());
  EXPECT_FALSE(Probe(tagsOnly));
}

TEST(Mp3Probe, FindsTheFirstFrameBehindJunk) {
  Bytes file(1000, 0x20);
  AppendFrames(file, Mpeg1Frame(), 3);
  const auto layout = Probe(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->audioBegin, 1000u);
  EXPECT_EQ(layout->frameCount, 3u);
}

TEST(Mp3FrameReader, SkipsDamageAndUnconfirmedHeaders) {
  Bytes file;
  AppendFrames(file, Mpeg1Frame(), 3);
  // Garbage holding a header-like pattern whose "frame" is followed by junk.
  Bytes garbage(900, 0x55);
  std::memcpy(&garbage[100], kMpeg1Stereo128, 4);
  Append(file, garbage);
  const uint64_t resumed = file.size();
  AppendFrames(file, Mpeg1Frame(), 4);

  const auto offsets = FrameOffsets(file);
  ASSERT_EQ(offsets.size(), 7u);
  EXPECT_EQ(offsets[2], 2u * 417);
  EXPECT_EQ(offsets[3], resumed);
}

TEST(Mp3FrameReader, SkipsFramesOfAnotherFormat) {
  Bytes file;
  AppendFrames(file, Mpeg1Frame(), 3);
  AppendFrames(file, Frame(kMpeg1Stereo128At48k, 384), 2);
  AppendFrames(file, Frame(kMpeg1Stereo128Padded, 418), 2);
  const auto layout = Probe(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->frameCount, 5u);
  EXPECT_EQ(FrameOffsets(file).size(), 5u);
}

TEST(Mp3FrameReader, RewindStartsOverAndSpansReadChunks) {
  // More than one 64 KiB read chunk of frames.
  Bytes file;
  AppendFrames(file, Mpeg1Frame(), 400);
  MemoryByteSource source(file.data(), file.size());
  const auto layout = ProbeMp3(source);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->frameCount, 400u);
  Mp3FrameReader reader(source, layout->audioBegin, layout->audioEnd, layout->format);
  Mp3Frame frame;
  for (int i = 0; i < 250; ++i) ASSERT_TRUE(reader.Next(&frame));
  EXPECT_EQ(frame.offset, 249u * 417);
  EXPECT_EQ(frame.bytes[0], 0xFF);
  reader.Rewind();
  ASSERT_TRUE(reader.Next(&frame));
  EXPECT_EQ(frame.offset, 0u);
}
