#include "WaveOutPlayer.h"

namespace {

constexpr size_t kBufferCount = 4;
constexpr DWORD kBufferMilliseconds = 50;

bool InQueue(const WAVEHDR& header) {
  return (header.dwFlags & WHDR_INQUEUE) != 0;
}

}  // namespace

WaveOutPlayer::WaveOutPlayer(UniqueWaveOut device, const WAVEFORMATEX& format)
    : m_device(std::move(device)), m_buffers(kBufferCount), m_headers(kBufferCount) {
  const size_t bufferBytes =
      format.nAvgBytesPerSec * kBufferMilliseconds / 1000 / format.nBlockAlign * format.nBlockAlign;
  for (size_t i = 0; i < kBufferCount; ++i) {
    m_buffers[i].resize(bufferBytes);
    m_headers[i] = {};
    m_headers[i].lpData = reinterpret_cast<LPSTR>(m_buffers[i].data());
    m_headers[i].dwBufferLength = DWORD(bufferBytes);
    waveOutPrepareHeader(m_device.Get(), &m_headers[i], sizeof(WAVEHDR));
  }
  m_lastPosition = DevicePosition();
}

WaveOutPlayer::~WaveOutPlayer() {
  if (m_device) Release();
}

DWORD WaveOutPlayer::DevicePosition() const {
  MMTIME time = {};
  time.wType = TIME_BYTES;
  waveOutGetPosition(m_device.Get(), &time, sizeof time);
  return time.wType == TIME_BYTES ? time.u.cb : 0;
}

void WaveOutPlayer::Silence() {
  waveOutReset(m_device.Get());
}

void WaveOutPlayer::Restart() {
  Silence();
  m_sourceDry = false;
  m_played = 0;
  m_lastPosition = DevicePosition();
}

void WaveOutPlayer::Queue(const Fill& fill, size_t limit) {
  for (WAVEHDR& header : m_headers) {
    if (m_sourceDry || limit == 0) return;
    if (InQueue(header)) continue;
    auto* data = reinterpret_cast<uint8_t*>(header.lpData);
    const size_t size = m_buffers[size_t(&header - m_headers.data())].size();
    const size_t filled = fill(data, size);
    if (filled < size) m_sourceDry = true;
    if (filled == 0) return;
    header.dwBufferLength = DWORD(filled);
    waveOutWrite(m_device.Get(), &header, sizeof(WAVEHDR));
    --limit;
  }
}

uint64_t WaveOutPlayer::PlayedBytes() {
  // The device counts in 32 bits; adding differences survives its wrap.
  const DWORD now = DevicePosition();
  m_played += DWORD(now - m_lastPosition);
  m_lastPosition = now;
  return m_played;
}

bool WaveOutPlayer::Drained() const {
  if (!m_sourceDry) return false;
  for (const WAVEHDR& header : m_headers) {
    if (InQueue(header)) return false;
  }
  return true;
}

UniqueWaveOut WaveOutPlayer::Release() {
  Silence();
  for (WAVEHDR& header : m_headers) waveOutUnprepareHeader(m_device.Get(), &header, sizeof(WAVEHDR));
  return std::move(m_device);
}
