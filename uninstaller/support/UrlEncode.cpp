#include "UrlEncode.h"

namespace {

bool NeedsEscape(unsigned char byte) {
  static constexpr std::string_view kDelimiters = " \"#$&+,;<=>?@[\\]^`{|}";
  return byte < 0x20 || byte > 0x7E || kDelimiters.find(static_cast<char>(byte)) != std::string_view::npos;
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// `out` ends with a separator; drops the segment before it, keeping a
// leading separator.
void RemoveLastSegment(std::string& out) {
  if (out.size() <= 1) return;
  const std::size_t previous = out.find_last_of("/\\", out.size() - 2);
  out.resize(previous == std::string::npos ? 0 : previous + 1);
}

}  // namespace

bool PercentEncodeUrl(std::string_view utf8, std::size_t maxLength, std::string& out) {
  static const char kHex[] = "0123456789abcdef";
  out.clear();
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '.' && !out.empty() && IsSeparator(out.back())) {
      const std::string_view rest = utf8.substr(i);
      if (rest.substr(0, 2) == "./") {
        ++i;  // the separator already written stands for both
        continue;
      }
      if (rest.substr(0, 3) == "../") {
        RemoveLastSegment(out);
        i += 2;
        continue;
      }
    }
    const auto byte = static_cast<unsigned char>(c);
    if (NeedsEscape(byte)) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      out += c;
    }
    if (out.size() > maxLength) return false;
  }
  return true;
}
