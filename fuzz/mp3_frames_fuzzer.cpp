// The MP3 frame parser of the audio library on arbitrary files: probing and
// walking the frames stays inside the file, and every frame handed out is a
// whole frame of the probed format.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ByteSource.h"
#include "Mp3Format.h"
#include "Mp3FrameReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Id3v2TagSize(data, size);
  if (const auto header = ParseMp3FrameHeader(data, size)) {
    if (header->frameBytes < int(kMp3HeaderBytes) || size_t(header->frameBytes) > kMaxMp3FrameBytes) std::abort();
    ParseMp3InfoFrame(data, size, *header);
  }

  MemoryByteSource source(data, size);
  const auto layout = ProbeMp3(source);
  if (!layout) return 0;
  if (layout->audioBegin >= layout->audioEnd || layout->audioEnd > size || layout->frameCount == 0) std::abort();

  Mp3FrameReader reader(source, layout->audioBegin, layout->audioEnd, layout->format);
  for (int pass = 0; pass < 2; ++pass) {
    uint64_t previousEnd = layout->audioBegin;
    Mp3Frame frame;
    while (reader.Next(&frame)) {
      if (frame.offset < previousEnd || frame.offset + frame.size > layout->audioEnd) std::abort();
      if (std::memcmp(frame.bytes, data + frame.offset, frame.size) != 0) std::abort();
      const auto header = ParseMp3FrameHeader(frame.bytes, frame.size);
      if (!header || size_t(header->frameBytes) != frame.size || !SameStreamFormat(*header, layout->format)) {
        std::abort();
      }
      previousEnd = frame.offset + frame.size;
    }
    reader.Rewind();
  }
  return 0;
}
