// Decodes whole MP3 frames to 16-bit PCM through the system's ACM MPEG
// Layer-3 codec. The codec fails on anything but frame data, so callers feed
// it whole frames only, never tags or the encoder's information frame.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "Handles.h"
#include "Mp3Format.h"

class AcmMp3Decoder {
 public:
  // At most this many frames go into one Decode call.
  static constexpr size_t kMaxFramesPerCall = 8;

  // A decoder for frames of `format`, or nothing when no codec takes it.
  static std::unique_ptr<AcmMp3Decoder> Open(const Mp3FrameHeader& format);
  ~AcmMp3Decoder();
  AcmMp3Decoder(const AcmMp3Decoder&) = delete;
  AcmMp3Decoder& operator=(const AcmMp3Decoder&) = delete;

  // Decodes `size` bytes of whole frames and appends the PCM to `pcm`. An
  // empty call with `last` set drains what the codec still holds back.
  bool Decode(const uint8_t* frames, size_t size, bool last, std::vector<uint8_t>* pcm);
  // Makes the next Decode start a new stream: the codec forgets the frames
  // it has seen. Opening a codec is slow, so one is reused for many streams.
  void Restart() { m_started = false; }

  // Whether this decoder takes frames of `format`.
  bool Decodes(const Mp3FrameHeader& format) const { return SameStreamFormat(format, m_format); }
  const WAVEFORMATEX& PcmFormat() const { return m_pcmFormat; }

 private:
  AcmMp3Decoder(UniqueAcmStream stream, const Mp3FrameHeader& format, const WAVEFORMATEX& pcmFormat);
  bool PrepareBuffers();

  UniqueAcmStream m_stream;
  Mp3FrameHeader m_format;
  WAVEFORMATEX m_pcmFormat;
  std::vector<uint8_t> m_input;
  std::vector<uint8_t> m_output;
  ACMSTREAMHEADER m_header = {};
  bool m_prepared = false;
  bool m_started = false;
};
