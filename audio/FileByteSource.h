// A stretch of a file as a byte source, read as the stream plays.
#pragma once

#include <windows.h>

#include <memory>

#include "ByteSource.h"
#include "Handles.h"

class FileByteSource : public ByteSource {
 public:
  // The bytes from `offset` on, `length` of them (0: to the end of the file);
  // nothing when the file cannot be opened or the stretch lies past its end.
  // The file stays open (others may still read, rename or delete it).
  static std::unique_ptr<FileByteSource> Open(UniqueFileHandle file, uint64_t offset, uint64_t length);

  uint64_t Size() const override { return m_size; }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override;

 private:
  FileByteSource(UniqueFileHandle file, uint64_t begin, uint64_t size)
      : m_file(std::move(file)), m_begin(begin), m_size(size) {}

  UniqueFileHandle m_file;
  uint64_t m_begin;
  uint64_t m_size;
};

// Opens a file for reading with the sharing a player needs.
UniqueFileHandle OpenFileForReading(const char* path);
UniqueFileHandle OpenFileForReading(const wchar_t* path);
