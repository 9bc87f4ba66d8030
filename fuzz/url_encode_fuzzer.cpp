// URL encoding of report values on arbitrary bytes: the result keeps to its
// limit and holds no byte that needs escaping.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "UrlEncode.h"

namespace {

int HexValue(char c) {
  return c <= '9' ? c - '0' : c - 'a' + 10;
}

std::string Unescape(std::string_view encoded) {
  std::string text;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '%' && i + 2 < encoded.size()) {
      text += static_cast<char>(HexValue(encoded[i + 1]) << 4 | HexValue(encoded[i + 2]));
      i += 2;
    } else {
      text += encoded[i];
    }
  }
  return text;
}

}  // namespace

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
  // Text with no '%' of its own and no dot segment comes back whole once the
  // escapes are undone: no byte is lost, added or changed.
  if (text.find('%') == std::string_view::npos && text.find("/.") == std::string_view::npos && Unescape(out) != text) {
    std::abort();
  }
  return 0;
}
