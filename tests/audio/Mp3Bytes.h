// Builds MP3 byte streams by hand for the parser tests: frames with silent
// (all-zero) bodies, tags and encoder information frames.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Header bytes of common frames.
constexpr uint8_t kMpeg1Stereo128[4] = {0xFF, 0xFB, 0x90, 0x00};        // 44.1 kHz, 417 bytes
constexpr uint8_t kMpeg1Stereo128Padded[4] = {0xFF, 0xFB, 0x92, 0x00};  // 418 bytes
constexpr uint8_t kMpeg1Mono128[4] = {0xFF, 0xFB, 0x90, 0xC0};
constexpr uint8_t kMpeg1Stereo128At48k[4] = {0xFF, 0xFB, 0x94, 0x00};  // 384 bytes
constexpr uint8_t kMpeg2Mono48[4] = {0xFF, 0xF3, 0x60, 0xC0};          // 22.05 kHz, 156 bytes
constexpr uint8_t kMpeg25Mono16[4] = {0xFF, 0xE3, 0x28, 0xC0};         // 8 kHz, 144 bytes

inline Bytes Frame(const uint8_t (&header)[4], size_t size) {
  Bytes frame(size, 0);
  std::memcpy(frame.data(), header, 4);
  return frame;
}

inline Bytes Mpeg1Frame() {
  return Frame(kMpeg1Stereo128, 417);
}

inline void Append(Bytes& to, const Bytes& more) {
  to.insert(to.end(), more.begin(), more.end());
}

inline void AppendFrames(Bytes& to, const Bytes& frame, int count) {
  for (int i = 0; i < count; ++i) Append(to, frame);
}

inline void PutBigEndian32(uint8_t* at, uint32_t value) {
  at[0] = uint8_t(value >> 24);
  at[1] = uint8_t(value >> 16);
  at[2] = uint8_t(value >> 8);
  at[3] = uint8_t(value);
}

// An MPEG-1 stereo frame carrying a Xing/Info header; a count of 0 leaves
// the field out.
inline Bytes InfoFrame(const char* tag, uint32_t frames, uint32_t bytes) {
  Bytes frame = Mpeg1Frame();
  uint8_t* xing = frame.data() + 4 + 32;
  std::memcpy(xing, tag, 4);
  const uint32_t flags = (frames ? 1u : 0u) | (bytes ? 2u : 0u);
  PutBigEndian32(xing + 4, flags);
  size_t field = 8;
  if (frames) {
    PutBigEndian32(xing + field, frames);
    field += 4;
  }
  if (bytes) PutBigEndian32(xing + field, bytes);
  return frame;
}

// An ID3v2.4 tag with a body of `bodySize` zero bytes.
inline Bytes Id3v2Tag(uint32_t bodySize, bool footer = false) {
  Bytes tag = {'I',
               'D',
               '3',
               4,
               0,
               uint8_t(footer ? 0x10 : 0),
               uint8_t((bodySize >> 21) & 0x7F),
               uint8_t((bodySize >> 14) & 0x7F),
               uint8_t((bodySize >> 7) & 0x7F),
               uint8_t(bodySize & 0x7F)};
  tag.resize(tag.size() + bodySize + (footer ? 10 : 0), 0);
  return tag;
}

inline Bytes Id3v1Tag() {
  Bytes tag(128, 0);
  std::memcpy(tag.data(), "TAG", 3);
  return tag;
}

// An APEv2 tag with a header and a footer around `items` bytes of items.
inline Bytes ApeTag(uint32_t items) {
  Bytes tag(32 + items + 32, 0);
  for (size_t at : {size_t(0), tag.size() - 32}) {
    std::memcpy(&tag[at], "APETAGEX", 8);
    const uint32_t size = items + 32;
    for (int i = 0; i < 4; ++i) tag[at + 12 + i] = uint8_t(size >> (8 * i));
    tag[at + 23] = 0x80;  // has a header
  }
  return tag;
}
