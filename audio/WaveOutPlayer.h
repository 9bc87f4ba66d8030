// Plays PCM through one open wave-out device from a small ring of buffers that
// the owner refills as they come back, so only a fraction of a second is ever
// decoded ahead.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "Handles.h"

class WaveOutPlayer {
 public:
  // Fills `buffer` with up to `size` bytes; fewer means the source ran dry.
  using Fill = std::function<size_t(uint8_t* buffer, size_t size)>;

  // `device` was opened for `format`; its done-notifications go to whoever
  // calls Queue again.
  WaveOutPlayer(UniqueWaveOut device, const WAVEFORMATEX& format);
  ~WaveOutPlayer();  // silences the device at once
  WaveOutPlayer(const WaveOutPlayer&) = delete;
  WaveOutPlayer& operator=(const WaveOutPlayer&) = delete;

  // Silences the device and starts over from an empty queue at position 0.
  void Restart();
  // Hands every free buffer, at most `limit`, filled by `fill`, to wave-out.
  void Queue(const Fill& fill, size_t limit = SIZE_MAX);
  // Bytes the device has played since the last Restart.
  uint64_t PlayedBytes();
  // The source ran dry and every queued buffer has played.
  bool Drained() const;
  // Silences the device and gives it back for reuse.
  UniqueWaveOut Release();

 private:
  DWORD DevicePosition() const;
  void Silence();

  UniqueWaveOut m_device;
  std::vector<std::vector<uint8_t>> m_buffers;
  std::vector<WAVEHDR> m_headers;
  bool m_sourceDry = false;
  uint64_t m_played = 0;
  DWORD m_lastPosition = 0;
};
