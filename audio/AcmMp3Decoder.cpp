#include "AcmMp3Decoder.h"

#include <cstring>

std::unique_ptr<AcmMp3Decoder> AcmMp3Decoder::Open(const Mp3FrameHeader& format) {
  MPEGLAYER3WAVEFORMAT mp3 = {};
  mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  mp3.wfx.nChannels = WORD(format.channels);
  mp3.wfx.nSamplesPerSec = DWORD(format.sampleRate);
  mp3.wfx.nAvgBytesPerSec = DWORD(format.bitrateKbps * 1000 / 8);
  mp3.wfx.nBlockAlign = 1;
  mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  mp3.wID = MPEGLAYER3_ID_MPEG;
  mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
  mp3.nBlockSize = WORD(format.frameBytes);
  mp3.nFramesPerBlock = 1;

  WAVEFORMATEX pcm = {};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  pcm.nChannels = WORD(format.channels);
  pcm.nSamplesPerSec = DWORD(format.sampleRate);
  pcm.wBitsPerSample = 16;
  pcm.nBlockAlign = WORD(format.channels * 2);
  pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;

  UniqueAcmStream stream;
  if (acmStreamOpen(stream.Put(), nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0) {
    return nullptr;
  }
  std::unique_ptr<AcmMp3Decoder> decoder(new AcmMp3Decoder(std::move(stream), format, pcm));
  if (!decoder->PrepareBuffers()) return nullptr;
  return decoder;
}

// The codec may hold a frame back until the next one arrives, so the output
// buffer has room for one frame more than a call feeds.
AcmMp3Decoder::AcmMp3Decoder(UniqueAcmStream stream, const Mp3FrameHeader& format, const WAVEFORMATEX& pcmFormat)
    : m_stream(std::move(stream)),
      m_format(format),
      m_pcmFormat(pcmFormat),
      m_input(kMaxFramesPerCall * kMaxMp3FrameBytes),
      m_output((kMaxFramesPerCall + 2) * size_t(format.samplesPerFrame) * pcmFormat.nBlockAlign) {}

AcmMp3Decoder::~AcmMp3Decoder() {
  if (m_prepared) {
    m_header.cbSrcLength = DWORD(m_input.size());
    acmStreamUnprepareHeader(m_stream.Get(), &m_header, 0);
  }
}

bool AcmMp3Decoder::PrepareBuffers() {
  m_header.cbStruct = sizeof m_header;
  m_header.pbSrc = m_input.data();
  m_header.cbSrcLength = DWORD(m_input.size());
  m_header.pbDst = m_output.data();
  m_header.cbDstLength = DWORD(m_output.size());
  m_prepared = acmStreamPrepareHeader(m_stream.Get(), &m_header, 0) == 0;
  return m_prepared;
}

bool AcmMp3Decoder::Decode(const uint8_t* frames, size_t size, bool last, std::vector<uint8_t>* pcm) {
  if (size > m_input.size()) return false;
  if (size > 0) std::memcpy(m_input.data(), frames, size);
  m_header.cbSrcLength = DWORD(size);
  m_header.cbSrcLengthUsed = 0;
  m_header.cbDstLengthUsed = 0;
  DWORD flags = m_started ? 0 : ACM_STREAMCONVERTF_START;
  if (last) flags |= ACM_STREAMCONVERTF_END;
  m_started = true;
  if (acmStreamConvert(m_stream.Get(), &m_header, flags) != 0) return false;
  pcm->insert(pcm->end(), m_output.data(), m_output.data() + m_header.cbDstLengthUsed);
  return true;
}
