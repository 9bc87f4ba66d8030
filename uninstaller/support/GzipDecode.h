// Bounded decoding of zlib and gzip streams through a table of zlib's inflate
// functions (platform-free: the table points into the linked zlib, or at a
// test's stand-ins).
#pragma once

#include <zlib.h>

#include <cstddef>

struct tagZlibInflateApi {
  int (*inflateInit2_)(z_streamp stream, int windowBits, const char* version, int streamSize) = nullptr;
  int (*inflate)(z_streamp stream, int flush) = nullptr;
  int (*inflateEnd)(z_streamp stream) = nullptr;
};

// Inflates `input`, a zlib or gzip stream (the header tells which), into a
// heap block of at most `maxOutput` bytes, 4 KB at a time. Inflating stops
// as soon as `maxOutput` bytes are produced, so a small hostile stream that
// would expand without end costs no more than `maxOutput` bytes of memory.
//
// Returns true when the stream ended or filled `maxOutput` bytes (the output
// then is its start); `*output` is then a block the caller frees with
// std::free, or null when nothing was produced. Returns false, with a null
// block and length 0, on corrupt or unfinished data, a stream asking for a
// preset dictionary, lack of memory or an incomplete table.
bool InflateBounded(const tagZlibInflateApi& zlib, const unsigned char* input, std::size_t inputLength,
                    std::size_t maxOutput, unsigned char** output, std::size_t* outputLength);
