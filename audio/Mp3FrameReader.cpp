#include "Mp3FrameReader.h"

#include <algorithm>
#include <cstring>

namespace {

// Bytes read from the source at a time.
constexpr size_t kReadChunk = 64 * 1024;
// How far past the tags the first frame is looked for before the file is
// taken for something other than MP3.
constexpr uint64_t kSyncSearchBytes = 64 * 1024;
constexpr size_t kId3v1Bytes = 128;
constexpr size_t kApeFooterBytes = 32;

uint32_t ReadLittleEndian32(const uint8_t* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

uint64_t SkipId3v2Tags(ByteSource& source) {
  uint64_t offset = 0;
  uint8_t header[kId3v2HeaderBytes];
  while (source.ReadAt(offset, header, sizeof header) == sizeof header) {
    const uint64_t tag = Id3v2TagSize(header, sizeof header);
    if (tag == 0) break;
    offset += tag;
  }
  return offset;
}

// The end of the audio: before an ID3v1 tag and an APEv2 tag in front of it.
uint64_t AudioEnd(ByteSource& source, uint64_t begin) {
  uint64_t end = source.Size();
  uint8_t tail[kId3v1Bytes];
  if (end - begin >= kId3v1Bytes && source.ReadAt(end - kId3v1Bytes, tail, 3) == 3 &&
      std::memcmp(tail, "TAG", 3) == 0) {
    end -= kId3v1Bytes;
  }
  if (end - begin >= kApeFooterBytes &&
      source.ReadAt(end - kApeFooterBytes, tail, kApeFooterBytes) == kApeFooterBytes &&
      std::memcmp(tail, "APETAGEX", 8) == 0) {
    const bool hasHeader = (ReadLittleEndian32(tail + 20) & 0x80000000u) != 0;
    const uint64_t tag = uint64_t(ReadLittleEndian32(tail + 12)) + (hasHeader ? kApeFooterBytes : 0);
    if (tag <= end - begin) end -= tag;
  }
  return end;
}

struct FirstFrame {
  uint64_t offset;
  Mp3FrameHeader header;
  std::optional<Mp3InfoFrame> info;
};

// The first frame in [begin, end) that the next header confirms (or that ends
// exactly at the end), looked for within the first kSyncSearchBytes.
std::optional<FirstFrame> FindFirstFrame(ByteSource& source, uint64_t begin, uint64_t end) {
  const uint64_t windowEnd = std::min(end, begin + kSyncSearchBytes + kMaxMp3FrameBytes + kMp3HeaderBytes);
  std::vector<uint8_t> window(size_t(windowEnd - begin));
  window.resize(source.ReadAt(begin, window.data(), window.size()));
  const size_t searchEnd = std::min<size_t>(window.size(), kSyncSearchBytes);
  for (size_t i = 0; i < searchEnd; ++i) {
    const auto header = ParseMp3FrameHeader(&window[i], window.size() - i);
    if (!header) continue;
    const size_t next = i + size_t(header->frameBytes);
    if (next > window.size()) continue;
    bool confirmed = begin + next == end;
    if (!confirmed) {
      const auto following = ParseMp3FrameHeader(window.data() + next, window.size() - next);
      confirmed = following && SameStreamFormat(*header, *following);
    }
    if (confirmed)
      return FirstFrame{begin + i, *header, ParseMp3InfoFrame(&window[i], size_t(header->frameBytes), *header)};
  }
  return std::nullopt;
}

}  // namespace

Mp3FrameReader::Mp3FrameReader(ByteSource& source, uint64_t begin, uint64_t end, const Mp3FrameHeader& format)
    : m_source(source), m_begin(begin), m_end(end), m_format(format), m_position(begin) {}

void Mp3FrameReader::Rewind() {
  m_position = m_begin;
  m_inSync = true;
}

size_t Mp3FrameReader::Fill(uint64_t offset, size_t wanted) {
  if (offset >= m_end) return 0;
  const size_t available = size_t(std::min<uint64_t>(wanted, m_end - offset));
  if (offset >= m_bufferStart && offset + available <= m_bufferStart + m_buffer.size()) return available;
  m_buffer.resize(size_t(std::min<uint64_t>(std::max(kReadChunk, available), m_end - offset)));
  m_buffer.resize(m_source.ReadAt(offset, m_buffer.data(), m_buffer.size()));
  m_bufferStart = offset;
  return std::min(available, m_buffer.size());
}

bool Mp3FrameReader::FollowedByFrame(uint64_t next) {
  if (next == m_end) return true;
  if (Fill(next, kMp3HeaderBytes) < kMp3HeaderBytes) return false;
  const auto header = ParseMp3FrameHeader(At(next), kMp3HeaderBytes);
  return header && SameStreamFormat(*header, m_format);
}

bool Mp3FrameReader::Next(Mp3Frame* frame) {
  for (;;) {
    if (Fill(m_position, kMp3HeaderBytes) < kMp3HeaderBytes) return false;
    const uint8_t* bytes = At(m_position);
    if (bytes[0] != 0xFF) {
      // Out of step: jump to the next byte that may start a header.
      m_inSync = false;
      const size_t buffered = size_t(m_bufferStart + m_buffer.size() - m_position);
      const void* sync = std::memchr(bytes, 0xFF, buffered);
      m_position += sync ? size_t(static_cast<const uint8_t*>(sync) - bytes) : buffered;
      continue;
    }
    const auto header = ParseMp3FrameHeader(bytes, kMp3HeaderBytes);
    if (header && SameStreamFormat(*header, m_format)) {
      const size_t size = size_t(header->frameBytes);
      if (Fill(m_position, size) == size) {
        if (m_inSync || FollowedByFrame(m_position + size)) {
          Fill(m_position, size);
          frame->offset = m_position;
          frame->bytes = At(m_position);
          frame->size = size;
          m_position += size;
          m_inSync = true;
          return true;
        }
      } else if (m_inSync) {
        return false;  // the last frame is cut off
      }
    }
    m_inSync = false;
    ++m_position;
  }
}

std::optional<Mp3Layout> ProbeMp3(ByteSource& source) {
  const uint64_t begin = SkipId3v2Tags(source);
  if (begin >= source.Size()) return std::nullopt;
  const uint64_t end = AudioEnd(source, begin);
  const auto first = FindFirstFrame(source, begin, end);
  if (!first) return std::nullopt;

  Mp3Layout layout;
  layout.format = first->header;
  layout.audioBegin = first->offset + (first->info ? uint64_t(first->header.frameBytes) : 0);
  layout.audioEnd = end;
  if (layout.audioBegin >= end) return std::nullopt;  // an information frame and nothing after it
  // A truncated file claims more than it holds: count its frames instead.
  const bool infoFits =
      first->info && first->info->frameCount && *first->info->frameCount > 0 &&
      (!first->info->byteCount || *first->info->byteCount <= end - first->offset + kMaxMp3FrameBytes + kId3v1Bytes);
  if (infoFits) {
    layout.frameCount = *first->info->frameCount;
  } else {
    Mp3FrameReader reader(source, layout.audioBegin, end, layout.format);
    Mp3Frame frame;
    while (reader.Next(&frame)) ++layout.frameCount;
  }
  if (layout.frameCount == 0) return std::nullopt;
  layout.pcmBytes = uint64_t(layout.frameCount) * uint64_t(layout.format.samplesPerFrame) * layout.format.channels * 2;
  return layout;
}
