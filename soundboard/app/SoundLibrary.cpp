#include "SoundLibrary.h"

namespace {

bool IsLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

// Offsets of the whole characters equal to `c` (a single-byte character),
// never the second byte of a double-byte one.
template <typename Visit>
void ForEachSingleByte(std::string_view text, char c, Visit visit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(text[i]) && i + 1 < text.size()) {
      ++i;
    } else if (text[i] == c) {
      visit(i);
    }
  }
}

std::size_t FindLast(std::string_view text, char c) {
  std::size_t last = std::string_view::npos;
  ForEachSingleByte(text, c, [&last](std::size_t i) { last = i; });
  return last;
}

}  // namespace

std::string FileNameWithoutExtension(std::string_view path) {
  const std::size_t slash = FindLast(path, '\\');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = FindLast(name, '.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

std::string FolderOf(std::string_view path) {
  const std::size_t slash = FindLast(path, '\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string CategoryFolder(std::string_view programFolder, std::string_view folderName) {
  std::string folder(programFolder);
  folder += folderName;
  const std::size_t slash = FindLast(folder, '\\');
  if (folder.empty() || slash != folder.size() - 1) folder += '\\';
  return folder;
}

bool SamePath(std::string_view first, std::string_view second) {
  if (first.size() != second.size()) return false;
  const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (IsLeadByte(first[i]) && i + 1 < first.size()) {
      // A trail byte may look like a letter: the character matches only whole.
      if (first[i] != second[i] || first[i + 1] != second[i + 1]) return false;
      ++i;
    } else if (fold(first[i]) != fold(second[i])) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> KeysPlaying(const std::vector<BoundKey>& bound, std::string_view soundPath) {
  std::vector<std::string> keys;
  for (const BoundKey& key : bound) {
    if (!soundPath.empty() && SamePath(key.soundPath, soundPath)) keys.push_back(key.keyName);
  }
  return keys;
}

ButtonPlace PlaceButton(int index, int tabTop) {
  const int row = (index - 1) / 5 + 1;
  const int column = index - 5 * (row - 1);
  return {20 + 80 * (column - 1), tabTop + 40 * row, index >= 1 && index <= kButtonsShown};
}

std::uint32_t ArgbFromBgr(std::uint32_t bgr, int alpha, bool alphaGiven) {
  const std::uint32_t red = bgr & 0xFF;
  const std::uint32_t green = (bgr >> 8) & 0xFF;
  const std::uint32_t blue = (bgr >> 16) & 0xFF;
  const std::uint32_t a = (!alphaGiven || alpha == 255) ? 0xFE : static_cast<std::uint32_t>(alpha) & 0xFF;
  return a << 24 | red << 16 | green << 8 | blue;
}
