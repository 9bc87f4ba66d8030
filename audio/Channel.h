// One stream handle of the library: a decoded MP3 stream and how it is being
// played, either through wave-out or, on the no-sound device, by the clock
// alone. Not thread-safe: the engine serialises every call.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>

#include "Mp3PcmStream.h"
#include "WaveOutPlayer.h"

class Channel {
 public:
  explicit Channel(std::unique_ptr<Mp3PcmStream> pcm) : m_pcm(std::move(pcm)) {}

  const WAVEFORMATEX& PcmFormat() const { return m_pcm->PcmFormat(); }
  uint64_t Length() const { return m_pcm->PcmBytes(); }
  // Reaches Length exactly once the stream has ended, even when its data
  // ended early.
  uint64_t Position();
  void SetVolume(float volume) { m_volume = volume; }

  bool IsPlaying();
  bool HasPlayer() const { return m_player != nullptr; }
  // Plays from the start on the no-sound device: only the clock runs.
  void PlaySilently();
  // Plays from the start through `player` (kept for later plays), or through
  // the player it already has when `player` is null.
  void PlayAudibly(std::unique_ptr<WaveOutPlayer> player);
  // Tops up the wave-out queue; called whenever a buffer comes back.
  void Service();
  // Stops at once and gives back the wave-out device, if any; the channel is
  // done, and its decoder may go to another one.
  UniqueWaveOut Stop();
  std::unique_ptr<AcmMp3Decoder> TakeDecoder() { return m_pcm->TakeDecoder(); }

 private:
  size_t FillBuffer(uint8_t* buffer, size_t size);
  uint64_t BlockAligned(uint64_t bytes) const { return bytes - bytes % PcmFormat().nBlockAlign; }

  std::unique_ptr<Mp3PcmStream> m_pcm;
  std::unique_ptr<WaveOutPlayer> m_player;
  bool m_started = false;
  bool m_silent = false;
  bool m_pcmTouched = false;
  std::chrono::steady_clock::time_point m_silentStart;
  float m_volume = 1.0f;
};
