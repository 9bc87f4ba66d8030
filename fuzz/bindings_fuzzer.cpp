// The sound library's path rules on arbitrary GBK text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "SoundLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // A path is the same as itself in any ASCII case; a byte after a lead
  // byte is part of its character and keeps its case.
  std::string lower(text);
  for (size_t i = 0; i < lower.size(); ++i) {
    const auto byte = static_cast<unsigned char>(lower[i]);
    if (byte >= 0x81 && byte <= 0xFE && i + 1 < lower.size()) {
      ++i;
    } else if (byte >= 'A' && byte <= 'Z') {
      lower[i] = static_cast<char>(byte - 'A' + 'a');
    }
  }
  if (!SamePath(text, lower) || !SamePath(lower, text)) std::abort();
  if (KeysPlaying({{"F1", std::string(text)}}, lower).size() != (text.empty() ? 0u : 1u)) std::abort();

  const std::string name = FileNameWithoutExtension(text);
  if (text.find(name) == std::string_view::npos) std::abort();
  const std::string folder = CategoryFolder("C:\\Quobly", text);
  if (folder.empty() || folder.back() != '\\') std::abort();
  return 0;
}
