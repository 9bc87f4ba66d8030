#include "Mp3Format.h"

#include <gtest/gtest.h>

#include "Mp3Bytes.h"

TEST(Mp3FrameHeader, ReadsFormatAndFrameSizeOfEveryVersion) {
  auto mpeg1 = ParseMp3FrameHeader(kMpeg1Stereo128, 4);
  ASSERT_TRUE(mpeg1);
  EXPECT_EQ(mpeg1->version, MpegVersion::kMpeg1);
  EXPECT_EQ(mpeg1->sampleRate, 44100);
  EXPECT_EQ(mpeg1->channels, 2);
  EXPECT_EQ(mpeg1->bitrateKbps, 128);
  EXPECT_EQ(mpeg1->samplesPerFrame, 1152);
  EXPECT_EQ(mpeg1->frameBytes, 417);
  EXPECT_FALSE(mpeg1->hasCrc);
  EXPECT_EQ(ParseMp3FrameHeader(kMpeg1Stereo128Padded, 4)->frameBytes, 418);
  EXPECT_EQ(ParseMp3FrameHeader(kMpeg1Stereo128At48k, 4)->frameBytes, 384);
  EXPECT_EQ(ParseMp3FrameHeader(kMpeg1Mono128, 4)->channels, 1);

  auto mpeg2 = ParseMp3FrameHeader(kMpeg2Mono48, 4);
  ASSERT_TRUE(mpeg2);
  EXPECT_EQ(mpeg2->version, MpegVersion::kMpeg2);
  EXPECT_EQ(mpeg2->sampleRate, 22050);
  EXPECT_EQ(mpeg2->samplesPerFrame, 576);
  EXPECT_EQ(mpeg2->frameBytes, 72 * 48000 / 22050);

  auto mpeg25 = ParseMp3FrameHeader(kMpeg25Mono16, 4);
  ASSERT_TRUE(mpeg25);
  EXPECT_EQ(mpeg25->version, MpegVersion::kMpeg25);
  EXPECT_EQ(mpeg25->sampleRate, 8000);
  EXPECT_EQ(mpeg25->frameBytes, 144);

  const uint8_t withCrc[4] = {0xFF, 0xFA, 0x90, 0x00};
  EXPECT_TRUE(ParseMp3FrameHeader(withCrc, 4)->hasCrc);
}

TEST(Mp3FrameHeader, RejectsWhatIsNoLayerThreeFrame) {
  const uint8_t cases[][4] = {
      {0xFF, 0xFB, 0x90},        // too short (size 3 below)
      {0xFE, 0xFB, 0x90, 0x00},  // no sync
      {0xFF, 0xEB, 0x90, 0x00},  // reserved version
      {0xFF, 0xFD, 0x90, 0x00},  // Layer II
      {0xFF, 0xF9, 0x90, 0x00},  // reserved layer
      {0xFF, 0xFB, 0x00, 0x00},  // free-format bitrate
      {0xFF, 0xFB, 0xF0, 0x00},  // forbidden bitrate
      {0xFF, 0xFB, 0x9C, 0x00},  // reserved sample rate
      {0xFF, 0xFB, 0x90, 0x02},  // reserved emphasis
  };
  EXPECT_FALSE(ParseMp3FrameHeader(cases[0], 3));
  for (size_t i = 1; i < sizeof cases / sizeof cases[0]; ++i) EXPECT_FALSE(ParseMp3FrameHeader(cases[i], 4)) << i;
}

TEST(Mp3FrameHeader, LargestFrameFitsTheBound) {
  const uint8_t mpeg1Largest[4] = {0xFF, 0xFB, 0xEA, 0x00};   // 320 kbit/s, 32 kHz, padded
  const uint8_t mpeg25Largest[4] = {0xFF, 0xE3, 0xEA, 0x00};  // 160 kbit/s, 8 kHz, padded
  EXPECT_EQ(size_t(ParseMp3FrameHeader(mpeg1Largest, 4)->frameBytes), kMaxMp3FrameBytes);
  EXPECT_EQ(size_t(ParseMp3FrameHeader(mpeg25Largest, 4)->frameBytes), kMaxMp3FrameBytes);
}

TEST(Mp3FrameHeader, StreamFormatIgnoresBitrateButNotRateOrChannels) {
  const uint8_t mpeg1At320[4] = {0xFF, 0xFB, 0xE0, 0x00};
  const auto base = *ParseMp3FrameHeader(kMpeg1Stereo128, 4);
  EXPECT_TRUE(SameStreamFormat(base, *ParseMp3FrameHeader(mpeg1At320, 4)));
  EXPECT_FALSE(SameStreamFormat(base, *ParseMp3FrameHeader(kMpeg1Stereo128At48k, 4)));
  EXPECT_FALSE(SameStreamFormat(base, *ParseMp3FrameHeader(kMpeg1Mono128, 4)));
}

TEST(Id3v2Tag, SizeCountsHeaderBodyAndFooter) {
  const Bytes tag = Id3v2Tag(300);
  EXPECT_EQ(Id3v2TagSize(tag.data(), tag.size()), 310u);
  const Bytes large = Id3v2Tag(200000, true);
  EXPECT_EQ(Id3v2TagSize(large.data(), large.size()), 200020u);
}

TEST(Id3v2Tag, RejectsDamagedOrMissingTags) {
  Bytes tag = Id3v2Tag(300);
  EXPECT_EQ(Id3v2TagSize(tag.data(), 9), 0u);
  tag[8] = 0x80;  // not synchsafe
  EXPECT_EQ(Id3v2TagSize(tag.data(), tag.size()), 0u);
  tag = Id3v2Tag(300);
  tag[3] = 0xFF;
  EXPECT_EQ(Id3v2TagSize(tag.data(), tag.size()), 0u);
  const Bytes frame = Mpeg1Frame();
  EXPECT_EQ(Id3v2TagSize(frame.data(), frame.size()), 0u);
}

TEST(Mp3InfoFrame, ReadsXingAndInfoCounts) {
  const auto header = *ParseMp3FrameHeader(kMpeg1Stereo128, 4);
  Bytes frame = InfoFrame("Xing", 1234, 56789);
  auto info = ParseMp3InfoFrame(frame.data(), frame.size(), header);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->frameCount, 1234u);
  EXPECT_EQ(info->byteCount, 56789u);

  frame = InfoFrame("Info", 0, 4000);
  info = ParseMp3InfoFrame(frame.data(), frame.size(), header);
  ASSERT_TRUE(info);
  EXPECT_FALSE(info->frameCount);
  EXPECT_EQ(info->byteCount, 4000u);

  // Cut short before the fields the flags announce: present, counts unknown.
  frame = InfoFrame("Xing", 10, 20);
  info = ParseMp3InfoFrame(frame.data(), 4 + 32 + 10, header);
  ASSERT_TRUE(info);
  EXPECT_FALSE(info->frameCount);
}

TEST(Mp3InfoFrame, FindsXingAfterTheSideInformationOfEachLayout) {
  Bytes mono = Frame(kMpeg1Mono128, 417);
  std::memcpy(&mono[4 + 17], "Xing\0\0\0\1\0\0\0\x07", 12);
  auto info = ParseMp3InfoFrame(mono.data(), mono.size(), *ParseMp3FrameHeader(kMpeg1Mono128, 4));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->frameCount, 7u);

  Bytes mpeg2 = Frame(kMpeg2Mono48, 156);
  std::memcpy(&mpeg2[4 + 9], "Info\0\0\0\1\0\0\0\x09", 12);
  info = ParseMp3InfoFrame(mpeg2.data(), mpeg2.size(), *ParseMp3FrameHeader(kMpeg2Mono48, 4));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->frameCount, 9u);
}

TEST(Mp3InfoFrame, ReadsVbriAndIgnoresAudioFrames) {
  const auto header = *ParseMp3FrameHeader(kMpeg1Stereo128, 4);
  Bytes frame = Mpeg1Frame();
  EXPECT_FALSE(ParseMp3InfoFrame(frame.data(), frame.size(), header));
  uint8_t* vbri = &frame[4 + 32];
  std::memcpy(vbri, "VBRI", 4);
  PutBigEndian32(vbri + 10, 99999);
  PutBigEndian32(vbri + 14, 321);
  const auto info = ParseMp3InfoFrame(frame.data(), frame.size(), header);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->frameCount, 321u);
  EXPECT_EQ(info->byteCount, 99999u);
}
