#include "SettingsText.h"

namespace {

bool IsBlank(std::uint8_t byte) {
  return byte == ' ' || byte == '\t' || byte == '\r';
}

// A GBK lead byte: the byte after it belongs to the same character, even a
// ']' (0x5D) or a '[' (0x5B).
bool IsLeadByte(std::uint8_t byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

// "[name]": from the '[' at `first` to a ']' of its own that ends the line
// (`end` is past its last byte other than blanks).
bool IsSectionHeader(const std::uint8_t* line, std::size_t first, std::size_t end) {
  if (line[first] != '[') return false;
  std::size_t i = first + 1;
  bool closed = false;
  while (i < end) {
    closed = line[i] == ']';
    i += IsLeadByte(line[i]) ? 2 : 1;
  }
  return closed && i == end;
}

bool LineHoldsSetting(const std::uint8_t* line, std::size_t size) {
  std::size_t first = 0;
  while (first < size && IsBlank(line[first])) ++first;
  std::size_t end = size;
  while (end > first && IsBlank(line[end - 1])) --end;
  if (first == end || line[first] == ';') return false;
  return !IsSectionHeader(line, first, end);
}

}  // namespace

bool HoldsSetting(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxSettingsBytes) return true;
  std::size_t start = 0;
  while (start < size) {
    std::size_t end = start;
    while (end < size && data[end] != '\n') ++end;
    if (LineHoldsSetting(data + start, end - start)) return true;
    start = end + 1;
  }
  return false;
}
