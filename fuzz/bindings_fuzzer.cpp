// The binding file's line rules on arbitrary GBK text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "SoundLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Bindings bindings = ParseBindings(text);
  if (bindings.keys.size() != bindings.names.size()) std::abort();
  for (size_t i = 0; i < bindings.names.size(); ++i) {
    // A sound shows the key of the first binding of its name.
    size_t first = 0;
    while (bindings.names[first] != bindings.names[i]) ++first;
    if (HotkeyTagFor(bindings.names[i], bindings) != bindings.keys[first]) std::abort();
  }

  const std::string name = FileNameWithoutExtension(text);
  if (text.find(name) == std::string_view::npos) std::abort();
  const std::string folder = CategoryFolder("C:\\Quobly", text);
  if (folder.empty() || folder.back() != '\\') std::abort();
  return 0;
}
