// The skin package format: entries back to back up to the end of the file,
// no header, all integers little-endian.
//
//   offset 0   60 bytes  name, UTF-16LE, zero-terminated, zero-padded (<= 29 characters)
//   offset 60   4 bytes  data size n, unsigned
//   offset 64   n bytes  the bytes of the source file, unchanged
//
// Pure code, free of any platform header, so that it is tested and fuzzed
// natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace skinpkg {

constexpr size_t kNameBytes = 60;
constexpr size_t kNameUnits = kNameBytes / 2;  // 29 characters and the terminator
constexpr size_t kHeaderBytes = 64;

// An entry's name from its source file's path: the part after the last
// backslash, up to the first "." after it (cut to 29 units). No "." gives an
// empty name.
std::u16string EntryName(const std::u16string& path);

// The 64-byte header of an entry.
std::vector<uint8_t> EntryHeader(const std::u16string& name, uint32_t dataSize);

// Where an entry's data lies in the package.
struct EntryData {
  size_t offset = 0;
  size_t size = 0;
};

// Finds the first entry named `name` (exact, case-sensitive). The walk stops
// safely, answering false, at a header cut off by the end of the package, a
// name without its terminating zero, or data that claims more bytes than
// remain.
bool FindEntry(const uint8_t* package, size_t packageSize, const std::u16string& name, EntryData* found);

}  // namespace skinpkg
