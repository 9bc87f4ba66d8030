#include "BassEngine.h"

#include <cmath>
#include <cstring>

#include "AudioPriorityScope.h"

namespace {

// A worker also wakes this often without a signal, so it notices it is idle.
constexpr DWORD kWorkerWakeMs = 100;
// A worker with nothing to play for this long ends.
constexpr DWORD kWorkerIdleMs = 2000;

bool SameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

struct WorkerStart {
  BassEngine* engine;
  HMODULE module;
};

}  // namespace

BassEngine& BassEngine::Instance() {
  // Never destroyed: tearing down wave-out while the process exits can hang.
  static BassEngine* engine = new BassEngine();
  return *engine;
}

BassEngine::BassEngine() : m_bufferDone(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

bool BassEngine::Init(int device) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_initialized) return false;
  const UINT waveOuts = waveOutGetNumDevs();
  UINT waveOutId = 0;
  if (device == kDefaultDevice) {
    if (waveOuts == 0) return false;
    waveOutId = WAVE_MAPPER;
  } else if (device > kNoSoundDevice) {
    if (UINT(device) > waveOuts) return false;
    waveOutId = UINT(device - 1);
  } else if (device != kNoSoundDevice) {
    return false;
  }
  m_silent = device == kNoSoundDevice;
  if (!m_silent && waveOutId != m_idleWaveOutId) m_idleWaveOut.Reset();
  m_waveOutId = waveOutId;
  m_initialized = true;
  if (!m_silent && !m_workerRunning) StartWorker();
  return true;
}

bool BassEngine::Free() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_initialized) return false;
  for (auto& entry : m_channels) {
    const WAVEFORMATEX format = entry.second->PcmFormat();
    UniqueWaveOut device = entry.second->Stop();
    if (auto decoder = entry.second->TakeDecoder()) m_idleDecoder = std::move(decoder);
    if (device) {
      m_idleWaveOut = std::move(device);
      m_idleWaveOutId = m_waveOutId;
      m_idleFormat = format;
    }
  }
  m_channels.clear();
  m_initialized = false;
  return true;
}

uint32_t BassEngine::CreateStream(std::unique_ptr<ByteSource> source) {
  std::unique_ptr<AcmMp3Decoder> spare;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_initialized) return 0;
    spare = std::move(m_idleDecoder);
  }
  // Probing reads the file: done outside the lock so playing streams keep being fed.
  auto pcm = source ? Mp3PcmStream::Open(std::move(source), std::move(spare)) : nullptr;
  if (!pcm) return 0;
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_initialized) return 0;
  const uint32_t handle = m_nextHandle++;
  if (m_nextHandle == 0) m_nextHandle = 0x10000;
  m_channels[handle] = std::make_unique<Channel>(std::move(pcm));
  return handle;
}

Channel* BassEngine::Find(uint32_t handle) {
  const auto found = m_channels.find(handle);
  return found == m_channels.end() ? nullptr : found->second.get();
}

UniqueWaveOut BassEngine::OpenWaveOut(const WAVEFORMATEX& format) {
  if (m_idleWaveOut && m_idleWaveOutId == m_waveOutId && SameFormat(m_idleFormat, format)) {
    return std::move(m_idleWaveOut);
  }
  // A device that does not fit is closed rather than kept idle beside a new one.
  m_idleWaveOut.Reset();
  UniqueWaveOut device;
  WAVEFORMATEX wanted = format;
  waveOutOpen(device.Put(), m_waveOutId, &wanted, reinterpret_cast<DWORD_PTR>(m_bufferDone.Get()), 0, CALLBACK_EVENT);
  return device;
}

bool BassEngine::Play(uint32_t handle, bool restart) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Channel* channel = Find(handle);
  if (!channel) return false;
  if (!restart && channel->IsPlaying()) return true;
  if (m_silent) {
    channel->PlaySilently();
    return true;
  }
  std::unique_ptr<WaveOutPlayer> player;
  if (!channel->HasPlayer()) {
    UniqueWaveOut device = OpenWaveOut(channel->PcmFormat());
    if (!device) return false;
    player = std::make_unique<WaveOutPlayer>(std::move(device), channel->PcmFormat());
  }
  channel->PlayAudibly(std::move(player));
  SetEvent(m_bufferDone.Get());
  return true;
}

uint64_t BassEngine::Position(uint32_t handle) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Channel* channel = Find(handle);
  return channel ? channel->Position() : kError;
}

uint64_t BassEngine::Length(uint32_t handle) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Channel* channel = Find(handle);
  return channel ? channel->Length() : kError;
}

bool BassEngine::SetVolume(uint32_t handle, float volume) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Channel* channel = Find(handle);
  if (!channel || !std::isfinite(volume) || volume < 0) return false;
  channel->SetVolume(volume);
  return true;
}

void BassEngine::StartWorker() {
  // The worker holds its own reference to this library, so a caller that
  // unloads it without BASS_Free cannot pull the code from under the thread.
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&BassEngine::WorkerMain),
                     &module);
  auto* start = new WorkerStart{this, module};
  UniqueKernelHandle thread(CreateThread(nullptr, 0, &BassEngine::WorkerMain, start, 0, nullptr));
  m_workerRunning = bool(thread);
  if (!thread) {
    delete start;
    if (module) FreeLibrary(module);
  }
}

DWORD WINAPI BassEngine::WorkerMain(void* parameter) {
  // The worker owns `start`; the engine outlives every worker.
  std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
  start->engine->Work();
  const HMODULE module = start->module;
  start.reset();
  if (module) FreeLibraryAndExitThread(module, 0);
  return 0;
}

void BassEngine::Work() {
  // This thread refills wave-out's queue: a buffer refilled late is a gap
  // that is heard, so it is raised for its whole life. It only exists while
  // a device is initialised (and a short while after), and sleeps between
  // buffers, so the raise costs others nothing while nothing plays.
  const AudioPriorityScope raised;
  DWORD idleSince = GetTickCount();
  for (;;) {
    WaitForSingleObject(m_bufferDone.Get(), kWorkerWakeMs);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_initialized && !m_silent) {
      for (auto& entry : m_channels) entry.second->Service();
      idleSince = GetTickCount();
    } else if (GetTickCount() - idleSince >= kWorkerIdleMs) {
      m_workerRunning = false;
      return;
    }
  }
}
