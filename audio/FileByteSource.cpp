#include "FileByteSource.h"

namespace {
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
}

UniqueFileHandle OpenFileForReading(const char* path) {
  return UniqueFileHandle(
      CreateFileA(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

UniqueFileHandle OpenFileForReading(const wchar_t* path) {
  return UniqueFileHandle(
      CreateFileW(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::unique_ptr<FileByteSource> FileByteSource::Open(UniqueFileHandle file, uint64_t offset, uint64_t length) {
  LARGE_INTEGER fileSize;
  if (!file || !GetFileSizeEx(file.Get(), &fileSize)) return nullptr;
  const uint64_t total = uint64_t(fileSize.QuadPart);
  if (offset >= total) return nullptr;
  const uint64_t size = length == 0 || length > total - offset ? total - offset : length;
  return std::unique_ptr<FileByteSource>(new FileByteSource(std::move(file), offset, size));
}

size_t FileByteSource::ReadAt(uint64_t offset, uint8_t* buffer, size_t size) {
  if (offset >= m_size) return 0;
  if (size > m_size - offset) size = size_t(m_size - offset);
  OVERLAPPED at = {};
  const uint64_t absolute = m_begin + offset;
  at.Offset = DWORD(absolute);
  at.OffsetHigh = DWORD(absolute >> 32);
  DWORD read = 0;
  if (!ReadFile(m_file.Get(), buffer, DWORD(size), &read, &at)) return 0;
  return read;
}
