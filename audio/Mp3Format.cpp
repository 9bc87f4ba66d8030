#include "Mp3Format.h"

#include <cstring>

namespace {

constexpr int kMpeg1Bitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kMpeg2Bitrates[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr int kMpeg1Rates[3] = {44100, 48000, 32000};

uint32_t ReadBigEndian32(const uint8_t* bytes) {
  return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

// Where a Xing/Info header starts: right after the side information.
size_t XingOffset(const Mp3FrameHeader& header) {
  const bool mono = header.channels == 1;
  const size_t sideInfo = header.version == MpegVersion::kMpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  return kMp3HeaderBytes + (header.hasCrc ? 2 : 0) + sideInfo;
}

std::optional<Mp3InfoFrame> ParseXing(const uint8_t* xing, size_t size) {
  if (size < 8 || (std::memcmp(xing, "Xing", 4) != 0 && std::memcmp(xing, "Info", 4) != 0)) return std::nullopt;
  const uint32_t flags = ReadBigEndian32(xing + 4);
  Mp3InfoFrame info;
  size_t field = 8;
  if (flags & 1) {
    if (size < field + 4) return info;
    info.frameCount = ReadBigEndian32(xing + field);
    field += 4;
  }
  if (flags & 2) {
    if (size < field + 4) return info;
    info.byteCount = ReadBigEndian32(xing + field);
  }
  return info;
}

// The Fraunhofer header sits at a fixed place, 32 bytes after the frame header.
std::optional<Mp3InfoFrame> ParseVbri(const uint8_t* vbri, size_t size) {
  if (size < 18 || std::memcmp(vbri, "VBRI", 4) != 0) return std::nullopt;
  Mp3InfoFrame info;
  info.byteCount = ReadBigEndian32(vbri + 10);
  info.frameCount = ReadBigEndian32(vbri + 14);
  return info;
}

}  // namespace

std::optional<Mp3FrameHeader> ParseMp3FrameHeader(const uint8_t* bytes, size_t size) {
  if (size < kMp3HeaderBytes || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return std::nullopt;
  const int versionBits = (bytes[1] >> 3) & 3;
  const int layerBits = (bytes[1] >> 1) & 3;
  const int bitrateIndex = bytes[2] >> 4;
  const int rateIndex = (bytes[2] >> 2) & 3;
  const int emphasis = bytes[3] & 3;
  if (versionBits == 1 || layerBits != 1 || rateIndex == 3 || emphasis == 2) return std::nullopt;

  Mp3FrameHeader header;
  header.version = versionBits == 3   ? MpegVersion::kMpeg1
                   : versionBits == 2 ? MpegVersion::kMpeg2
                                      : MpegVersion::kMpeg25;
  const bool mpeg1 = header.version == MpegVersion::kMpeg1;
  header.bitrateKbps = (mpeg1 ? kMpeg1Bitrates : kMpeg2Bitrates)[bitrateIndex];
  if (header.bitrateKbps == 0) return std::nullopt;  // free format or the forbidden index
  const int divisor = mpeg1 ? 1 : header.version == MpegVersion::kMpeg2 ? 2 : 4;
  header.sampleRate = kMpeg1Rates[rateIndex] / divisor;
  header.channels = (bytes[3] >> 6) == 3 ? 1 : 2;
  header.samplesPerFrame = mpeg1 ? 1152 : 576;
  const bool padding = (bytes[2] >> 1) & 1;
  header.frameBytes = (mpeg1 ? 144 : 72) * header.bitrateKbps * 1000 / header.sampleRate + (padding ? 1 : 0);
  header.hasCrc = (bytes[1] & 1) == 0;
  return header;
}

bool SameStreamFormat(const Mp3FrameHeader& a, const Mp3FrameHeader& b) {
  return a.version == b.version && a.sampleRate == b.sampleRate && a.channels == b.channels;
}

uint64_t Id3v2TagSize(const uint8_t* bytes, size_t size) {
  if (size < kId3v2HeaderBytes || std::memcmp(bytes, "ID3", 3) != 0) return 0;
  if (bytes[3] == 0xFF || bytes[4] == 0xFF) return 0;
  uint64_t body = 0;
  for (int i = 6; i < 10; ++i) {
    if (bytes[i] & 0x80) return 0;  // sizes are "synchsafe": seven bits a byte
    body = body << 7 | bytes[i];
  }
  const bool hasFooter = (bytes[5] & 0x10) != 0;
  return kId3v2HeaderBytes + body + (hasFooter ? kId3v2HeaderBytes : 0);
}

std::optional<Mp3InfoFrame> ParseMp3InfoFrame(const uint8_t* frame, size_t size, const Mp3FrameHeader& header) {
  const size_t xing = XingOffset(header);
  if (size > xing) {
    if (auto info = ParseXing(frame + xing, size - xing)) return info;
  }
  constexpr size_t kVbriOffset = kMp3HeaderBytes + 32;
  if (size > kVbriOffset) return ParseVbri(frame + kVbriOffset, size - kVbriOffset);
  return std::nullopt;
}
