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

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  ForEachSingleByte(text, separator, [&](std::size_t i) {
    parts.push_back(text.substr(start, i - start));
    start = i + 1;
  });
  parts.push_back(text.substr(start));
  return parts;
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

Bindings ParseBindings(std::string_view text) {
  Bindings bindings;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::vector<std::string_view> parts = Split(text.substr(start, end - start), '=');
    if (parts.size() == 2) {
      bindings.keys.push_back(FileNameWithoutExtension(parts[0]));
      bindings.names.push_back(FileNameWithoutExtension(parts[1]));
    }
    start = end + 2;
  }
  return bindings;
}

std::string HotkeyTagFor(std::string_view soundName, const Bindings& bindings) {
  for (std::size_t j = 0; j < bindings.names.size(); ++j) {
    if (bindings.names[j] == soundName) return bindings.keys[j];
  }
  return std::string();
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
