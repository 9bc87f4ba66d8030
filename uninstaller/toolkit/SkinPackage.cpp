#include "SkinPackage.h"

#include <algorithm>

namespace skinpkg {

namespace {

uint32_t ReadUint32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// The name stored in a header, or false when its terminating zero is missing.
bool ReadName(const uint8_t* header, std::u16string* name) {
  name->clear();
  for (size_t unit = 0; unit < kNameUnits; ++unit) {
    const char16_t ch = static_cast<char16_t>(header[2 * unit] | header[2 * unit + 1] << 8);
    if (ch == 0) return true;
    name->push_back(ch);
  }
  return false;
}

}  // namespace

std::u16string EntryName(const std::u16string& path) {
  const size_t slash = path.rfind(u'\\');
  const size_t start = slash == std::u16string::npos ? 0 : slash + 1;
  const size_t dot = path.find(u'.', start);
  if (dot == std::u16string::npos) return std::u16string();
  return path.substr(start, std::min(dot - start, kNameUnits - 1));
}

std::vector<uint8_t> EntryHeader(const std::u16string& name, uint32_t dataSize) {
  std::vector<uint8_t> header(kHeaderBytes, 0);
  const size_t units = std::min(name.size(), kNameUnits - 1);
  for (size_t unit = 0; unit < units; ++unit) {
    header[2 * unit] = static_cast<uint8_t>(name[unit] & 0xFF);
    header[2 * unit + 1] = static_cast<uint8_t>(name[unit] >> 8);
  }
  for (size_t i = 0; i < 4; ++i) header[kNameBytes + i] = static_cast<uint8_t>(dataSize >> (8 * i));
  return header;
}

bool FindEntry(const uint8_t* package, size_t packageSize, const std::u16string& name, EntryData* found) {
  if (package == nullptr) return false;
  std::u16string entryName;
  size_t offset = 0;
  while (packageSize - offset >= kHeaderBytes) {
    const uint8_t* header = package + offset;
    if (!ReadName(header, &entryName)) return false;
    const size_t dataOffset = offset + kHeaderBytes;
    const size_t dataSize = ReadUint32(header + kNameBytes);
    if (dataSize > packageSize - dataOffset) return false;
    if (entryName == name) {
      if (found != nullptr) *found = {dataOffset, dataSize};
      return true;
    }
    offset = dataOffset + dataSize;
  }
  return false;
}

}  // namespace skinpkg
