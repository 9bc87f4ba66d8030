#include "AudioPlayer.h"

#include <mmsystem.h>

#include <algorithm>
#include <utility>

#include "AudioPriorityScope.h"
#include "SoundCardList.h"
#include "SoundLibrary.h"

namespace {

constexpr DWORD kPositionInBytes = 0;  // BASS_POS_BYTE
constexpr DWORD kVolumeAttribute = 2;  // BASS_ATTRIB_VOL

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return fn != nullptr;
}

}  // namespace

AudioPlayer::AudioPlayer(std::string libraryPath) : m_libraryPath(std::move(libraryPath)) {}

std::string AudioPlayer::ProgramLibraryPath() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return FolderOf(std::string_view(path, length)) + "\\bass.dll";
}

const AudioPlayer::Library* AudioPlayer::Load() {
  std::call_once(m_loadOnce, [this] {
    m_module.Reset(LoadLibraryA(m_libraryPath.c_str()));
    if (!m_module) return;
    HMODULE module = m_module.Get();
    m_loaded = Resolve(module, "BASS_Init", m_library.init) && Resolve(module, "BASS_Free", m_library.free) &&
               Resolve(module, "BASS_StreamCreateFile", m_library.streamCreateFile) &&
               Resolve(module, "BASS_ChannelPlay", m_library.channelPlay) &&
               Resolve(module, "BASS_ChannelGetPosition", m_library.channelGetPosition) &&
               Resolve(module, "BASS_ChannelGetLength", m_library.channelGetLength) &&
               Resolve(module, "BASS_ChannelSetAttribute", m_library.channelSetAttribute);
    if (!m_loaded) m_module.Reset();
  });
  return m_loaded ? &m_library : nullptr;
}

BOOL AudioPlayer::init(int device, DWORD frequency, DWORD flags, HWND window) {
  const Library* library = Load();
  return library != nullptr ? library->init(device, frequency, flags, window, nullptr) : FALSE;
}

BOOL AudioPlayer::free() {
  const Library* library = Load();
  return library != nullptr ? library->free() : FALSE;
}

DWORD AudioPlayer::open_file(const char* path) {
  const Library* library = Load();
  if (library == nullptr || path == nullptr || path[0] == '\0') return 0;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  return library->streamCreateFile(FALSE, path, 0, 0, 0);
}

BOOL AudioPlayer::play(DWORD stream, BOOL restart) {
  const Library* library = Load();
  return library != nullptr && stream != 0 ? library->channelPlay(stream, restart) : FALSE;
}

std::uint64_t AudioPlayer::position(DWORD stream) {
  const Library* library = Load();
  return library != nullptr ? library->channelGetPosition(stream, kPositionInBytes) : 0;
}

std::uint64_t AudioPlayer::length(DWORD stream) {
  const Library* library = Load();
  return library != nullptr ? library->channelGetLength(stream, kPositionInBytes) : 0;
}

BOOL AudioPlayer::set_volume(DWORD stream, float volume) {
  const Library* library = Load();
  return library != nullptr ? library->channelSetAttribute(stream, kVolumeAttribute, volume) : FALSE;
}

void AudioPlayer::set_card(std::string name) {
  m_card = std::move(name);
  if (m_card.empty()) m_device = kDefaultOutputDevice;
}

void AudioPlayer::set_device(int device) {
  m_card.clear();
  m_device = device;
}

std::vector<std::string> AudioPlayer::WaveOutNames() {
  std::vector<std::string> names;
  const UINT count = std::min<UINT>(waveOutGetNumDevs(), kWaveOutDevicesAsked);
  for (UINT device = 0; device < count; ++device) {
    // A device number with no device leaves the record as it was: zero.
    WAVEOUTCAPSA caps = {};
    waveOutGetDevCapsA(device, &caps, sizeof caps);
    names.push_back(NameFromField(caps.szPname, sizeof caps.szPname));
  }
  return names;
}

void AudioPlayer::play_path(const char* path, HWND window) {
  if (!m_card.empty()) m_device = DeviceForName(WaveOutNames(), m_card);
  // The caller (the UI thread) runs raised from here until the first buffer
  // is queued inside the play call, and at its own priority again before it
  // paints anything. Only around these calls: on Windows a window's thread
  // already gets short boosts for input, but those stop at priority 15 and
  // decay within a few time slices, and Wine gives none.
  const AudioPriorityScope raised;
  free();
  init(m_device, 44100, 0, window);
  m_stream = open_file(path);
  set_volume(m_stream, 1.0f);
  play(m_stream);
}
