// A real zlib, to make compressed data and to decode through its inflate
// functions: on Windows the zlib1.dll beside the test program, loaded by the
// test itself as the uninstaller loads it; in the native build the linked one.
#pragma once

#if defined(_WIN32)
#include <windows.h>

#include "Handles.h"
#include "TestSupport.h"
#endif

#include <string>

#include "GzipDecode.h"

class TestZlib {
 public:
  enum class Format { kZlib, kGzip };

#if defined(_WIN32)
  TestZlib() : m_module(LoadLibraryW((ExecutableFolder() + L"zlib1.dll").c_str())) {
    Resolve("inflateInit2_", m_inflate.inflateInit2_);
    Resolve("inflate", m_inflate.inflate);
    Resolve("inflateEnd", m_inflate.inflateEnd);
    Resolve("deflateInit2_", m_deflateInit2);
    Resolve("deflate", m_deflate);
    Resolve("deflateEnd", m_deflateEnd);
  }
#else
  TestZlib() : m_deflateInit2(deflateInit2_), m_deflate(deflate), m_deflateEnd(deflateEnd) {
    m_inflate.inflateInit2_ = inflateInit2_;
    m_inflate.inflate = inflate;
    m_inflate.inflateEnd = inflateEnd;
  }
#endif

  bool isLoaded() const {
    return m_deflateEnd != nullptr && m_inflate.inflateEnd != nullptr;
  }
  const tagZlibInflateApi& InflateApi() const {
    return m_inflate;
  }

  std::string Compress(const std::string& data, Format format) const {
    z_stream stream = {};
    const int windowBits = format == Format::kGzip ? 15 + 16 : 15;
    m_deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY, ZLIB_VERSION,
                   static_cast<int>(sizeof stream));
    std::string compressed(data.size() + 1024, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&compressed[0]);
    stream.avail_out = static_cast<uInt>(compressed.size());
    m_deflate(&stream, Z_FINISH);
    compressed.resize(stream.total_out);
    m_deflateEnd(&stream);
    return compressed;
  }

 private:
#if defined(_WIN32)
  template <typename Function>
  void Resolve(const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_module.Get(), name)));
  }

  UniqueModule m_module;
#endif
  tagZlibInflateApi m_inflate;
  int (*m_deflateInit2)(z_streamp, int, int, int, int, int, const char*, int) = nullptr;
  int (*m_deflate)(z_streamp, int) = nullptr;
  int (*m_deflateEnd)(z_streamp) = nullptr;
};

// Text that compresses well but not trivially: numbered lines.
inline std::string SampleText(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + " of the sample reply\n";
  return text;
}
