// The parts of an MP3 file that are read without decoding: ID3v2 tags, MPEG
// audio frame headers (MPEG-1, 2 and 2.5, Layer III) and the Xing/Info or VBRI
// header that encoders put in the first frame. Platform-free, so it is tested
// and fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

enum class MpegVersion { kMpeg1, kMpeg2, kMpeg25 };

struct Mp3FrameHeader {
  MpegVersion version = MpegVersion::kMpeg1;
  int bitrateKbps = 0;
  int sampleRate = 0;
  int channels = 0;
  int samplesPerFrame = 0;
  int frameBytes = 0;  // the whole frame, header included
  bool hasCrc = false;
};

// Bytes a frame header needs; bytes an ID3v2 tag header needs.
constexpr size_t kMp3HeaderBytes = 4;
constexpr size_t kId3v2HeaderBytes = 10;
// Largest Layer III frame (320 kbit/s at 32 kHz, or 160 kbit/s at 8 kHz, padded).
constexpr size_t kMaxMp3FrameBytes = 1441;

// A Layer III frame header at `bytes`, or nothing when the four bytes are not
// one (free-format bitrate and reserved fields included).
std::optional<Mp3FrameHeader> ParseMp3FrameHeader(const uint8_t* bytes, size_t size);

// Whether two frames can follow each other in one decoded stream: the same
// MPEG version, sample rate and channel count (the bitrate may vary).
bool SameStreamFormat(const Mp3FrameHeader& a, const Mp3FrameHeader& b);

// Size of the ID3v2 tag at `bytes` including its header and footer, or 0 when
// none starts there.
uint64_t Id3v2TagSize(const uint8_t* bytes, size_t size);

// What an encoder's information frame (Xing, Info or VBRI) says of the audio
// frames that follow it; the information frame itself holds no audio.
struct Mp3InfoFrame {
  std::optional<uint32_t> frameCount;
  std::optional<uint32_t> byteCount;  // of the whole stream, information frame included
};

// The information frame in the whole frame at `frame`, or nothing when it is an
// ordinary audio frame.
std::optional<Mp3InfoFrame> ParseMp3InfoFrame(const uint8_t* frame, size_t size, const Mp3FrameHeader& header);
