// The proxy settings file "proxy.dat" beside the uninstaller (platform-free).
#pragma once

#include <cstddef>

// The file's one 428-byte record, little-endian: a 32-bit "use the proxy"
// flag, then four UTF-16LE text fields, zero-padded: host (100 units), port
// (12), user name and password (50 each). The login is never read: reports
// carry no credentials. Every field read into this struct ends in a zero
// unit inside the field, so its text is at most one unit shorter than the
// field.
struct tagProxyInfo {
  static constexpr std::size_t kRecordBytes = 428;

  bool enabled = false;
  char16_t host[100] = {};
  char16_t port[12] = {};  // as text
};

// Reads a record from the start of `bytes`. A record shorter than 428 bytes
// is refused: the result is the default, a disabled proxy with empty fields.
tagProxyInfo ParseProxyRecord(const unsigned char* bytes, std::size_t length);
