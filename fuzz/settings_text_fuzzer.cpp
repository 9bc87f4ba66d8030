// The settings file's rule on arbitrary bytes: it must read any bytes
// safely, and a key line added after them is always a setting.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "SettingsText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bool holds = HoldsSetting(data, size);
  std::vector<uint8_t> more(data, data + size);
  for (char c : std::string_view("\r\nF1=C:\\a.mp3\r\n")) more.push_back(static_cast<uint8_t>(c));
  if (!HoldsSetting(more.data(), more.size())) std::abort();
  // A file that holds no setting holds none either with its line ends as LF alone.
  if (!holds) {
    std::vector<uint8_t> unix;
    for (size_t i = 0; i < size; ++i) {
      if (data[i] != '\r' || i + 1 == size || data[i + 1] != '\n') unix.push_back(data[i]);
    }
    if (HoldsSetting(unix.data(), unix.size())) std::abort();
  }
  return 0;
}
