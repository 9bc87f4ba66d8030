// Gzip and zlib decoding of HTTP replies on arbitrary bytes, through the
// linked zlib: never more output than the limit, and the block is the
// caller's on success only.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>

#include "GzipDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the output limit, up to 64 KB.
  const size_t maxOutput = static_cast<size_t>(data[0] | data[1] << 8) + 1;
  tagZlibInflateApi zlib;
  zlib.inflateInit2_ = inflateInit2_;
  zlib.inflate = inflate;
  zlib.inflateEnd = inflateEnd;

  unsigned char* output = nullptr;
  size_t length = 0;
  const bool ok = InflateBounded(zlib, data + 2, size - 2, maxOutput, &output, &length);
  if (length > maxOutput || (output == nullptr) != (length == 0) || (!ok && output != nullptr)) std::abort();
  // Touch every byte handed out, so that a short block shows up.
  unsigned sum = 0;
  for (size_t i = 0; i < length; ++i) sum += output[i];
  std::free(output);
  return static_cast<int>(sum & 0);
}
