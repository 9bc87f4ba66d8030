// Random-access bytes a stream is decoded from: a file, or memory the caller
// keeps alive. Platform-free; the file kind lives in FileByteSource.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Copies up to `size` bytes from `offset`; returns how many were copied
  // (fewer at the end, or after a read error).
  virtual size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) = 0;
};

// Bytes owned by the caller, who keeps them alive as long as this source.
class MemoryByteSource : public ByteSource {
 public:
  MemoryByteSource(const uint8_t* bytes, uint64_t size) : m_bytes(bytes), m_size(size) {}
  uint64_t Size() const override { return m_size; }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override;

 private:
  const uint8_t* m_bytes;
  uint64_t m_size;
};
