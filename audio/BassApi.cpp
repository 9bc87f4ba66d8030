// The library's entry points, with BASS's names, calling convention and
// argument types, so a program written for BASS plays through this library.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "BassEngine.h"
#include "CallTrace.h"
#include "FileByteSource.h"

namespace {

using QWORD = uint64_t;
using HSTREAM = DWORD;
static_assert(sizeof(HSTREAM) == 4 && sizeof(QWORD) == 8, "BASS's handle and position types on both architectures");

constexpr DWORD kUnicodeFlag = 0x80000000;  // BASS_UNICODE: the file name is UTF-16
constexpr DWORD kPositionBytes = 0;         // BASS_POS_BYTE
constexpr DWORD kAttributeVolume = 2;       // BASS_ATTRIB_VOL

std::unique_ptr<ByteSource> OpenSource(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
  if (!file) return nullptr;
  if (mem) {
    // As with BASS: the caller keeps the memory alive as long as the stream,
    // gives its length, and the offset applies to files only.
    if (length == 0) return nullptr;
    return std::make_unique<MemoryByteSource>(static_cast<const uint8_t*>(file), length);
  }
  UniqueFileHandle handle = (flags & kUnicodeFlag) ? OpenFileForReading(static_cast<const wchar_t*>(file))
                                                   : OpenFileForReading(static_cast<const char*>(file));
  return FileByteSource::Open(std::move(handle), offset, length);
}

// Signed, so that the error value reads as -1.
long long TraceValue(QWORD value) {
  return static_cast<long long>(value);
}

// Every bit of a pointer, in eight digits at least: a window handle reads
// the same from both architectures (64-bit Windows keeps handles in 32 bits).
unsigned long long TracePointer(const void* pointer) {
  return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(pointer));
}

// The trace is ANSI text, as the file names of most callers are.
std::string TraceFileName(const void* file, DWORD flags) {
  if (!(flags & kUnicodeFlag)) return static_cast<const char*>(file);
  const auto* wide = static_cast<const wchar_t*>(file);
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string ansi(size_t(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, &ansi[0], size, nullptr, nullptr);
  ansi.resize(size_t(size - 1));
  return ansi;
}

}  // namespace

extern "C" {

BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD flags, HWND win, const GUID* dsguid) {
  const BOOL result = BassEngine::Instance().Init(device);
  TraceCall("BASS_Init(device=%d, freq=%lu, flags=%lu, win=0x%08llX, dsguid=0x%08llX) = %d", device, freq, flags,
            TracePointer(win), TracePointer(dsguid), result);
  return result;
}

BOOL WINAPI BASS_Free() {
  const BOOL result = BassEngine::Instance().Free();
  TraceCall("BASS_Free() = %d", result);
  return result;
}

HSTREAM WINAPI BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
  const HSTREAM result = BassEngine::Instance().CreateStream(OpenSource(mem, file, offset, length, flags));
  if (mem || !file) {
    TraceCall("BASS_StreamCreateFile(mem=%d, file=0x%08llX, offset=%llu, length=%llu, flags=%lu) = %lu", mem,
              TracePointer(file), offset, length, flags, result);
  } else {
    TraceCall("BASS_StreamCreateFile(mem=0, file=\"%s\", offset=%llu, length=%llu, flags=%lu) = %lu",
              TraceFileName(file, flags).c_str(), offset, length, flags, result);
  }
  return result;
}

BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL restart) {
  const BOOL result = BassEngine::Instance().Play(handle, restart != FALSE);
  TraceCall("BASS_ChannelPlay(handle=%lu, restart=%d) = %d", handle, restart, result);
  return result;
}

QWORD WINAPI BASS_ChannelGetPosition(DWORD handle, DWORD mode) {
  const QWORD result = mode == kPositionBytes ? BassEngine::Instance().Position(handle) : BassEngine::kError;
  TraceCall("BASS_ChannelGetPosition(handle=%lu, mode=%lu) = %lld", handle, mode, TraceValue(result));
  return result;
}

QWORD WINAPI BASS_ChannelGetLength(DWORD handle, DWORD mode) {
  const QWORD result = mode == kPositionBytes ? BassEngine::Instance().Length(handle) : BassEngine::kError;
  TraceCall("BASS_ChannelGetLength(handle=%lu, mode=%lu) = %lld", handle, mode, TraceValue(result));
  return result;
}

BOOL WINAPI BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value) {
  const BOOL result = attrib == kAttributeVolume && BassEngine::Instance().SetVolume(handle, value);
  TraceCall("BASS_ChannelSetAttribute(handle=%lu, attrib=%lu, value=%.3f) = %d", handle, attrib, double(value), result);
  return result;
}

}  // extern "C"
