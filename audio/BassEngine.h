// The state behind the library's entry points: the initialised output device,
// the open streams and the worker that keeps their wave-out queues filled.
// Every method may be called from any thread; one mutex serialises them.
// Threads: the engine owns the channels; its worker touches them only while
// holding the mutex, and the engine is never destroyed, so it outlives every
// worker. Wave-out's own threads only signal m_bufferDone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "Channel.h"
#include "Handles.h"

class BassEngine {
 public:
  // Device numbers: 0 plays nothing but keeps time, 1..n are wave-out devices
  // 0..n-1, -1 is the system's default output.
  static constexpr int kNoSoundDevice = 0;
  static constexpr int kDefaultDevice = -1;
  static constexpr uint64_t kError = ~uint64_t(0);

  // The process's one engine; it lives until the process ends.
  static BassEngine& Instance();

  bool Init(int device);
  bool Free();
  // A stream of the MP3 in `source` (nothing on failure); its handle is never 0.
  uint32_t CreateStream(std::unique_ptr<ByteSource> source);
  bool Play(uint32_t handle, bool restart);
  uint64_t Position(uint32_t handle);
  uint64_t Length(uint32_t handle);
  bool SetVolume(uint32_t handle, float volume);

 private:
  BassEngine();
  Channel* Find(uint32_t handle);
  UniqueWaveOut OpenWaveOut(const WAVEFORMATEX& format);
  void StartWorker();
  static DWORD WINAPI WorkerMain(void* parameter);
  void Work();

  std::mutex m_mutex;
  bool m_initialized = false;
  bool m_silent = false;
  UINT m_waveOutId = 0;
  std::map<uint32_t, std::unique_ptr<Channel>> m_channels;
  uint32_t m_nextHandle = 0x10000;

  // The wave-out device of the last freed stream, kept open so that the next
  // play on the same device and format starts without reopening it.
  UniqueWaveOut m_idleWaveOut;
  UINT m_idleWaveOutId = 0;
  WAVEFORMATEX m_idleFormat = {};
  // Likewise the decoder of the last freed stream: opening a codec is slow.
  std::unique_ptr<AcmMp3Decoder> m_idleDecoder;

  // Signalled by wave-out whenever a buffer has played.
  UniqueKernelHandle m_bufferDone;
  // The worker outlives a Free for a while, so that the free and init before
  // every play do not start a thread each; it ends by itself once idle.
  bool m_workerRunning = false;
};
