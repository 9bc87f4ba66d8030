// bass.dll loaded the way a BASS user loads it: by name, each entry point
// looked up by its undecorated name.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Handles.h"

struct BassLibrary {
  using Init = BOOL(WINAPI*)(int device, DWORD freq, DWORD flags, HWND win, const GUID* dsguid);
  using Free = BOOL(WINAPI*)();
  using StreamCreateFile = DWORD(WINAPI*)(BOOL mem, const void* file, uint64_t offset, uint64_t length, DWORD flags);
  using ChannelPlay = BOOL(WINAPI*)(DWORD handle, BOOL restart);
  using ChannelGet = uint64_t(WINAPI*)(DWORD handle, DWORD mode);
  using ChannelSetAttribute = BOOL(WINAPI*)(DWORD handle, DWORD attrib, float value);

  static constexpr uint64_t kError = ~uint64_t(0);
  static constexpr DWORD kUnicode = 0x80000000;
  static constexpr DWORD kVolume = 2;

  BassLibrary() : module(LoadLibraryA("bass.dll")) {
    if (!module) return;
    init = Find<Init>("BASS_Init");
    free = Find<Free>("BASS_Free");
    streamCreateFile = Find<StreamCreateFile>("BASS_StreamCreateFile");
    channelPlay = Find<ChannelPlay>("BASS_ChannelPlay");
    channelGetPosition = Find<ChannelGet>("BASS_ChannelGetPosition");
    channelGetLength = Find<ChannelGet>("BASS_ChannelGetLength");
    channelSetAttribute = Find<ChannelSetAttribute>("BASS_ChannelSetAttribute");
  }
  ~BassLibrary() {
    if (free) free();
  }

  bool Loaded() const {
    return init && free && streamCreateFile && channelPlay && channelGetPosition && channelGetLength &&
           channelSetAttribute;
  }

  DWORD Open(const char* path) const { return streamCreateFile(FALSE, path, 0, 0, 0); }
  uint64_t Position(DWORD stream) const { return channelGetPosition(stream, 0); }
  uint64_t Length(DWORD stream) const { return channelGetLength(stream, 0); }

  template <typename Function>
  Function Find(const char* name) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module.Get(), name)));
  }

  UniqueModule module;
  Init init = nullptr;
  Free free = nullptr;
  StreamCreateFile streamCreateFile = nullptr;
  ChannelPlay channelPlay = nullptr;
  ChannelGet channelGetPosition = nullptr;
  ChannelGet channelGetLength = nullptr;
  ChannelSetAttribute channelSetAttribute = nullptr;
};
