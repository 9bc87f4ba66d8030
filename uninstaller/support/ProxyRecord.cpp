#include "ProxyRecord.h"

#include <cstdint>

namespace {

std::uint32_t ReadUint32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Copies the field's text up to its first zero unit; the field's last unit is
// always left zero, so a writer that filled the whole field gets its text cut.
template <std::size_t Units>
void ReadText(const unsigned char* bytes, char16_t (&field)[Units]) {
  for (std::size_t i = 0; i + 1 < Units; ++i) {
    const char16_t unit = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    if (unit == u'\0') break;
    field[i] = unit;
  }
}

}  // namespace

tagProxyInfo ParseProxyRecord(const unsigned char* bytes, std::size_t length) {
  tagProxyInfo proxy;
  if (bytes == nullptr || length < tagProxyInfo::kRecordBytes) return proxy;
  proxy.enabled = ReadUint32(bytes) != 0;
  ReadText(bytes + 4, proxy.host);
  ReadText(bytes + 204, proxy.port);
  return proxy;
}
