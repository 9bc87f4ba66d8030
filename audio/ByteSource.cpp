#include "ByteSource.h"

#include <cstring>

size_t MemoryByteSource::ReadAt(uint64_t offset, uint8_t* buffer, size_t size) {
  // An empty read may come with no buffer at all; memcpy must not see it.
  if (offset >= m_size || size == 0) return 0;
  const uint64_t left = m_size - offset;
  const size_t count = left < size ? size_t(left) : size;
  std::memcpy(buffer, m_bytes + offset, count);
  return count;
}
