// URL encoding of report values on arbitrary bytes: the result keeps to its
// limit and holds no byte that needs escaping.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "UrlEncode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the limit; the report's own is 1023.
  const size_t maxLength = static_cast<size_t>(data[0] | data[1] << 8) % 2048;
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string out;
  if (!PercentEncodeUrl(text, maxLength, out)) return 0;
  if (out.size() > maxLength) std::abort();
  for (const char c : out) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x21 || byte > 0x7E || std::string_view("\"#$&+,;<=>?@[\\]^`{|}").find(c) != std::string_view::npos) {
      std::abort();
    }
  }
  return 0;
}
