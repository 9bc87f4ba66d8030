// Finds the audio of an MP3 file without decoding it: its format, where its
// frames lie and how long it plays. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ByteSource.h"
#include "Mp3Format.h"

struct Mp3Frame {
  uint64_t offset = 0;
  const uint8_t* bytes = nullptr;  // owned by the reader; valid until its next call
  size_t size = 0;
};

// Walks the whole frames of one stream format in [begin, end), one after the
// other. Damaged stretches are skipped: after a bad header, a frame counts only
// when the next header confirms it. A cut-off last frame ends the walk.
class Mp3FrameReader {
 public:
  Mp3FrameReader(ByteSource& source, uint64_t begin, uint64_t end, const Mp3FrameHeader& format);

  // The next frame, or false at the end.
  bool Next(Mp3Frame* frame);
  void Rewind();

 private:
  // Makes [offset, offset + wanted) readable as far as it lies before the end;
  // returns how many of those bytes are.
  size_t Fill(uint64_t offset, size_t wanted);
  const uint8_t* At(uint64_t offset) const { return m_buffer.data() + (offset - m_bufferStart); }
  bool FollowedByFrame(uint64_t next);

  ByteSource& m_source;
  uint64_t m_begin;
  uint64_t m_end;
  Mp3FrameHeader m_format;
  uint64_t m_position;
  bool m_inSync = true;
  std::vector<uint8_t> m_buffer;
  uint64_t m_bufferStart = 0;
};

struct Mp3Layout {
  Mp3FrameHeader format;    // of the first audio frame
  uint64_t audioBegin = 0;  // first audio frame, past tags and the information frame
  uint64_t audioEnd = 0;    // before any ID3v1 or APE tag
  uint32_t frameCount = 0;
  uint64_t pcmBytes = 0;  // decoded length as 16-bit PCM
};

// The layout of the MP3 stream in `source`, or nothing when it holds no Layer
// III audio. Takes the frame count from an encoder's information frame when
// the file is long enough for it, else counts the frames.
std::optional<Mp3Layout> ProbeMp3(ByteSource& source);
