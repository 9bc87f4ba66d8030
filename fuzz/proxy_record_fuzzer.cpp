// The "proxy.dat" reader on arbitrary files: every field ends inside itself.
#include <cstdint>
#include <cstdlib>

#include "ProxyRecord.h"

namespace {

template <size_t Units>
void CheckTerminated(const char16_t (&field)[Units]) {
  if (field[Units - 1] != u'\0') std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const tagProxyInfo proxy = ParseProxyRecord(data, size);
  CheckTerminated(proxy.host);
  CheckTerminated(proxy.port);
  if (size < tagProxyInfo::kRecordBytes && (proxy.enabled || proxy.host[0] != u'\0')) std::abort();
  return 0;
}
