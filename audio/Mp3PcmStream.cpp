#include "Mp3PcmStream.h"

#include <algorithm>
#include <cstring>

std::unique_ptr<Mp3PcmStream> Mp3PcmStream::Open(std::unique_ptr<ByteSource> source,
                                                 std::unique_ptr<AcmMp3Decoder> spare) {
  const auto layout = ProbeMp3(*source);
  if (!layout) return nullptr;
  auto decoder = spare && spare->Decodes(layout->format) ? std::move(spare) : AcmMp3Decoder::Open(layout->format);
  if (!decoder) return nullptr;
  decoder->Restart();
  return std::unique_ptr<Mp3PcmStream>(new Mp3PcmStream(std::move(source), *layout, std::move(decoder)));
}

Mp3PcmStream::Mp3PcmStream(std::unique_ptr<ByteSource> source, const Mp3Layout& layout,
                           std::unique_ptr<AcmMp3Decoder> decoder)
    : m_source(std::move(source)),
      m_layout(layout),
      m_reader(*m_source, layout.audioBegin, layout.audioEnd, layout.format),
      m_decoder(std::move(decoder)),
      m_pcmFormat(m_decoder->PcmFormat()) {}

void Mp3PcmStream::Rewind() {
  m_decoder->Restart();
  m_reader.Rewind();
  m_pending.clear();
  m_pendingRead = 0;
  m_delivered = 0;
  m_framesDone = false;
  m_ended = false;
}

bool Mp3PcmStream::DecodeMore() {
  if (m_framesDone) return false;
  m_frames.clear();
  Mp3Frame frame;
  for (size_t count = 0; count < AcmMp3Decoder::kMaxFramesPerCall && m_reader.Next(&frame); ++count) {
    m_frames.insert(m_frames.end(), frame.bytes, frame.bytes + frame.size);
  }
  const bool last = m_frames.empty();
  m_pending.erase(m_pending.begin(), m_pending.begin() + ptrdiff_t(m_pendingRead));
  m_pendingRead = 0;
  // A frame the codec rejects ends the stream early rather than failing it.
  if (!m_decoder->Decode(m_frames.data(), m_frames.size(), last, &m_pending) || last) m_framesDone = true;
  return true;
}

size_t Mp3PcmStream::Read(uint8_t* buffer, size_t size) {
  size_t copied = 0;
  while (copied < size && m_delivered < m_layout.pcmBytes) {
    if (m_pendingRead == m_pending.size() && !DecodeMore()) break;
    const size_t count = size_t(std::min<uint64_t>(
        {uint64_t(size - copied), uint64_t(m_pending.size() - m_pendingRead), m_layout.pcmBytes - m_delivered}));
    std::memcpy(buffer + copied, m_pending.data() + m_pendingRead, count);
    copied += count;
    m_pendingRead += count;
    m_delivered += count;
  }
  if (copied < size) m_ended = true;
  return copied;
}
