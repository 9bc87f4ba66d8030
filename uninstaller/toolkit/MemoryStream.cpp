#include "MemoryStream.h"

#include <cstring>

UniqueCom<IStream> CreateStreamOverCopy(const void* data, size_t size) {
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!block) return UniqueCom<IStream>();
  if (size > 0) {
    void* bytes = GlobalLock(block.Get());
    if (bytes == nullptr) return UniqueCom<IStream>();
    std::memcpy(bytes, data, size);
    GlobalUnlock(block.Get());
  }
  UniqueCom<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(block.Get(), TRUE, stream.Put()))) return UniqueCom<IStream>();
  block.Release();  // the stream frees it now
  return stream;
}
