// The soundboard's one audio object: a thin wrapper over the BASS audio
// library "bass.dll", loaded from the program folder at the first call.
// Without the library, or with one that lacks any of the seven entry points
// used here, every operation does nothing and returns 0.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "Handles.h"

// BASS's handles (HSTREAM) and device numbers are 32-bit on both
// architectures, as in the library's own header: the 64-bit build keeps them
// in the same types, never in a pointer-sized one.
static_assert(sizeof(DWORD) == 4 && sizeof(int) == 4, "BASS handles and device numbers are 32-bit");

class AudioPlayer {
 public:
  // `libraryPath` names the library to load, by default bass.dll in the
  // program folder (never one planted elsewhere on the search path).
  explicit AudioPlayer(std::string libraryPath = ProgramLibraryPath());
  AudioPlayer(const AudioPlayer&) = delete;
  AudioPlayer& operator=(const AudioPlayer&) = delete;

  // The seven library calls, with the library's defaults for what is left out.
  BOOL init(int device = -1, DWORD frequency = 44100, DWORD flags = 0, HWND window = nullptr);
  BOOL free();
  // Opens a whole file as a stream; 0 without calling the library when the
  // path is empty or names no file.
  DWORD open_file(const char* path);
  BOOL play(DWORD stream, BOOL restart = TRUE);
  std::uint64_t position(DWORD stream);
  std::uint64_t length(DWORD stream);
  BOOL set_volume(DWORD stream, float volume);

  // Free, init on the chosen device, open, full volume, play from the start,
  // with the calling thread raised for the five calls (AudioPriorityScope)
  // and back at its own priority when this returns. A card chosen by name
  // is looked up among the wave-out devices first.
  void play_path(const char* path, HWND window);
  void stop() { free(); }

  // Plays go to the sound card named `name` (ANSI, as wave-out reports it),
  // looked up at every play, since device numbers shift as cards come and
  // go: to the default output while no device has that name, and always for
  // "". UI thread only, as play_path.
  void set_card(std::string name);
  // Plays go to library device `device`, whatever its name.
  void set_device(int device);

  // The device number the last play used (the default output before any)
  // and the stream last opened (0 when none); both are read by progress
  // threads.
  int device() const { return m_device; }
  DWORD stream() const { return m_stream; }

  // The names of the system's wave-out devices, by number, "" where a number
  // has no device.
  static std::vector<std::string> WaveOutNames();

 private:
  struct Library {
    BOOL(WINAPI* init)(int device, DWORD frequency, DWORD flags, HWND window, const GUID* classId);
    BOOL(WINAPI* free)();
    DWORD(WINAPI* streamCreateFile)
    (BOOL memory, const void* file, std::uint64_t offset, std::uint64_t length, DWORD flags);
    BOOL(WINAPI* channelPlay)(DWORD stream, BOOL restart);
    std::uint64_t(WINAPI* channelGetPosition)(DWORD stream, DWORD mode);
    std::uint64_t(WINAPI* channelGetLength)(DWORD stream, DWORD mode);
    BOOL(WINAPI* channelSetAttribute)(DWORD stream, DWORD attribute, float value);
  };

  static std::string ProgramLibraryPath();
  // The entry points, or null when the library is missing or incomplete.
  const Library* Load();

  const std::string m_libraryPath;

  std::once_flag m_loadOnce;
  UniqueModule m_module;
  Library m_library = {};
  bool m_loaded = false;  // written once, inside m_loadOnce
  std::string m_card;  // "" when plays use m_device as it is
  // The default output until the sound cards are known: -1 plays where the
  // system plays, while 0 would be the library's silent device.
  std::atomic<int> m_device{-1};
  std::atomic<DWORD> m_stream{0};
};
