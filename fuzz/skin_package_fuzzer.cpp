// The skin package reader on arbitrary packages: every entry it finds lies
// inside the package, and a found name is the one asked for.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "SkinPackage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first bytes, read as UTF-16, also serve as a file path for EntryName.
  std::u16string path;
  for (size_t i = 0; i + 1 < size && i < 2 * 300; i += 2) path += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  const std::u16string name = skinpkg::EntryName(path);
  if (name.size() >= skinpkg::kNameUnits || name.find(u'\\') != std::u16string::npos) std::abort();
  if (skinpkg::EntryHeader(name, static_cast<uint32_t>(size)).size() != skinpkg::kHeaderBytes) std::abort();

  // The names the toolkit's controls look up, and the one taken from the input.
  for (const std::u16string& wanted :
       {std::u16string(u"button"), std::u16string(u"checkbox"), std::u16string(), name}) {
    skinpkg::EntryData found;
    if (!skinpkg::FindEntry(data, size, wanted, &found)) continue;
    if (found.offset < skinpkg::kHeaderBytes || found.offset > size || found.size > size - found.offset) std::abort();
    const uint8_t* header = data + found.offset - skinpkg::kHeaderBytes;
    for (size_t unit = 0; unit < wanted.size(); ++unit) {
      if ((header[2 * unit] | header[2 * unit + 1] << 8) != wanted[unit]) std::abort();
    }
  }
  return 0;
}
