#include "GzipDecode.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>

namespace {

constexpr std::size_t kWindowBytes = 4096;
constexpr int kDetectHeaderWindowBits = 15 + 32;  // zlib or gzip header
// The inflate interface has kept its layout since this version.
constexpr char kZlibVersion[] = "1.2.7";

struct FreeDeleter {
  void operator()(unsigned char* block) const { std::free(block); }
};
using HeapBlock = std::unique_ptr<unsigned char, FreeDeleter>;

// Makes room for `needed` bytes, growing by doubling but never past `limit`.
bool Reserve(HeapBlock& block, std::size_t& capacity, std::size_t needed, std::size_t limit) {
  if (needed <= capacity) return true;
  const std::size_t grown = std::min(std::max(needed, capacity * 2), limit);
  auto* bigger = static_cast<unsigned char*>(std::realloc(block.get(), grown));
  if (bigger == nullptr) return false;
  block.release();
  block.reset(bigger);
  capacity = grown;
  return true;
}

}  // namespace

bool InflateBounded(const tagZlibInflateApi& zlib, const unsigned char* input, std::size_t inputLength,
                    std::size_t maxOutput, unsigned char** output, std::size_t* outputLength) {
  *output = nullptr;
  *outputLength = 0;
  if (zlib.inflateInit2_ == nullptr || zlib.inflate == nullptr || zlib.inflateEnd == nullptr) return false;
  if (inputLength > UINT_MAX) return false;

  z_stream stream = {};
  if (zlib.inflateInit2_(&stream, kDetectHeaderWindowBits, kZlibVersion, static_cast<int>(sizeof stream)) != Z_OK) {
    return false;
  }
  stream.next_in = const_cast<Bytef*>(input);
  stream.avail_in = static_cast<uInt>(inputLength);

  HeapBlock block;
  std::size_t capacity = 0;
  std::size_t length = 0;
  int status = Z_OK;
  while (length < maxOutput) {
    const std::size_t window = std::min(kWindowBytes, maxOutput - length);
    if (!Reserve(block, capacity, length + window, maxOutput)) {
      status = Z_MEM_ERROR;
      break;
    }
    stream.next_out = block.get() + length;
    stream.avail_out = static_cast<uInt>(window);
    status = zlib.inflate(&stream, Z_NO_FLUSH);
    length += window - stream.avail_out;
    // The window came back with room: the input is used up or the stream is
    // over (or broken).
    if (status != Z_OK || stream.avail_out != 0) break;
  }
  zlib.inflateEnd(&stream);

  const bool filled = status == Z_OK && length == maxOutput;
  if (status != Z_STREAM_END && !filled) return false;
  *output = length > 0 ? block.release() : nullptr;
  *outputLength = length;
  return true;
}
