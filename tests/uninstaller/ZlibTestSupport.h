// A real zlib, the one linked in, to make compressed data and to decode
// through its inflate functions.
#pragma once

#include <string>

#include "GzipDecode.h"

class TestZlib {
 public:
  enum class Format { kZlib, kGzip };

  TestZlib() {
    m_inflate.inflateInit2_ = inflateInit2_;
    m_inflate.inflate = inflate;
    m_inflate.inflateEnd = inflateEnd;
  }

  const tagZlibInflateApi& InflateApi() const { return m_inflate; }

  std::string Compress(const std::string& data, Format format) const {
    z_stream stream = {};
    const int windowBits = format == Format::kGzip ? 15 + 16 : 15;
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string compressed(data.size() + 1024, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&compressed[0]);
    stream.avail_out = static_cast<uInt>(compressed.size());
    deflate(&stream, Z_FINISH);
    compressed.resize(stream.total_out);
    deflateEnd(&stream);
    return compressed;
  }

 private:
  tagZlibInflateApi m_inflate;
};

// Text that compresses well but not trivially: numbered lines.
inline std::string SampleText(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + " of the sample reply\n";
  return text;
}
