#include "Channel.h"

#include <algorithm>
#include <cmath>

uint64_t Channel::Position() {
  if (!m_started) return 0;
  if (m_silent) {
    const auto elapsed = std::chrono::steady_clock::now() - m_silentStart;
    const uint64_t micros = uint64_t(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
    const uint64_t bytes = micros * PcmFormat().nAvgBytesPerSec / 1000000;
    return BlockAligned(std::min(bytes, Length()));
  }
  if (m_player->Drained()) return Length();
  return BlockAligned(std::min(m_player->PlayedBytes(), Length()));
}

bool Channel::IsPlaying() {
  return m_started && Position() < Length();
}

void Channel::PlaySilently() {
  m_started = true;
  m_silent = true;
  m_silentStart = std::chrono::steady_clock::now();
}

void Channel::PlayAudibly(std::unique_ptr<WaveOutPlayer> player) {
  if (player) m_player = std::move(player);
  m_player->Restart();
  if (m_pcmTouched) m_pcm->Rewind();
  m_started = true;
  m_silent = false;
  // One buffer now, so sound starts at once; the engine's worker queues the rest.
  m_player->Queue([this](uint8_t* buffer, size_t size) { return FillBuffer(buffer, size); }, 1);
}

void Channel::Service() {
  if (!m_started || m_silent) return;
  m_player->Queue([this](uint8_t* buffer, size_t size) { return FillBuffer(buffer, size); });
}

UniqueWaveOut Channel::Stop() {
  m_started = false;
  if (!m_player) return UniqueWaveOut();
  UniqueWaveOut device = m_player->Release();
  m_player.reset();
  return device;
}

size_t Channel::FillBuffer(uint8_t* buffer, size_t size) {
  m_pcmTouched = true;
  const size_t filled = m_pcm->Read(buffer, size);
  if (m_volume != 1.0f) {
    auto* samples = reinterpret_cast<int16_t*>(buffer);
    for (size_t i = 0; i < filled / 2; ++i) {
      const float scaled = std::round(samples[i] * m_volume);
      samples[i] = int16_t(std::clamp(scaled, -32768.0f, 32767.0f));
    }
  }
  return filled;
}
