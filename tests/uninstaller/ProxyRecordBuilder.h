// Builds "proxy.dat" records as the installer writes them: a little-endian
// flag, then UTF-16LE text fields at fixed offsets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ProxyRecord.h"

class ProxyRecordBuilder {
 public:
  static constexpr std::size_t kHost = 4;
  static constexpr std::size_t kPort = 204;
  static constexpr std::size_t kUserName = 228;
  static constexpr std::size_t kPassword = 328;

  ProxyRecordBuilder() : m_bytes(tagProxyInfo::kRecordBytes, 0) {}

  ProxyRecordBuilder& Flag(std::uint32_t flag) {
    for (int i = 0; i < 4; ++i) m_bytes[i] = static_cast<unsigned char>(flag >> (8 * i));
    return *this;
  }
  ProxyRecordBuilder& Text(std::size_t offset, const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      m_bytes[offset + 2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
      m_bytes[offset + 2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
    }
    return *this;
  }
  const std::vector<unsigned char>& Bytes() const { return m_bytes; }

 private:
  std::vector<unsigned char> m_bytes;
};
