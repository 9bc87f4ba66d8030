// An MP3 stream as the 16-bit PCM it decodes to, decoded only as far as it is
// read, so a long file never sits decoded in memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "AcmMp3Decoder.h"
#include "ByteSource.h"
#include "Mp3FrameReader.h"

class Mp3PcmStream {
 public:
  // The stream of `source`, or nothing when it holds no MP3 audio the system
  // can decode. Decodes with `spare` when it takes this stream's format.
  static std::unique_ptr<Mp3PcmStream> Open(std::unique_ptr<ByteSource> source,
                                            std::unique_ptr<AcmMp3Decoder> spare = nullptr);
  // Gives up the decoder for another stream; this stream is then done.
  std::unique_ptr<AcmMp3Decoder> TakeDecoder() { return std::move(m_decoder); }

  const WAVEFORMATEX& PcmFormat() const { return m_pcmFormat; }
  // The decoded length; Read never yields more.
  uint64_t PcmBytes() const { return m_layout.pcmBytes; }

  // Copies the next decoded bytes; fewer than asked only at the end, which
  // comes early when the data turns out damaged or cut off.
  size_t Read(uint8_t* buffer, size_t size);
  bool Ended() const { return m_ended; }
  // Back to the first sample.
  void Rewind();

 private:
  Mp3PcmStream(std::unique_ptr<ByteSource> source, const Mp3Layout& layout, std::unique_ptr<AcmMp3Decoder> decoder);
  // Decodes the next few frames into m_pending; false at the end.
  bool DecodeMore();

  std::unique_ptr<ByteSource> m_source;
  Mp3Layout m_layout;
  Mp3FrameReader m_reader;
  std::unique_ptr<AcmMp3Decoder> m_decoder;
  WAVEFORMATEX m_pcmFormat;
  std::vector<uint8_t> m_frames;
  std::vector<uint8_t> m_pending;
  size_t m_pendingRead = 0;
  uint64_t m_delivered = 0;
  bool m_framesDone = false;
  bool m_ended = false;
};
