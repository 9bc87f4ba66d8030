// The sound library's text rules: file names, category folders, hotkey
// bindings and the button grid (platform-free). Text is in the system's
// ANSI code page, GBK, where a backslash byte may also be the second byte of
// a Chinese character; every split here steps over such characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The part after the last backslash, less its last ".extension":
// "D:\s\applause.mp3" gives "applause", "a.b.mp3" gives "a.b".
std::string FileNameWithoutExtension(std::string_view path);

// The part before the last backslash ("" when there is none).
std::string FolderOf(std::string_view path);

// The category folder beside the program, ending with exactly one backslash.
std::string CategoryFolder(std::string_view programFolder, std::string_view folderName);

// A hotkey as the dispatcher finds it in the binding file: the key's name
// and the full path of the sound it plays.
struct BoundKey {
  std::string keyName;
  std::string soundPath;
};

// Whether two paths name the same file, compared as Windows compares names:
// ASCII letters in either case; a double-byte character only as itself.
bool SamePath(std::string_view first, std::string_view second);

// The names of the keys in `bound` that play `soundPath`, in their order.
std::vector<std::string> KeysPlaying(const std::vector<BoundKey>& bound, std::string_view soundPath);

// Where sound button `index` (1-based) of a category goes: five buttons a
// row, 80 pixels apart from x = 20; rows 40 pixels apart below the tab
// control's top. Only the first four rows are shown.
struct ButtonPlace {
  int x;
  int y;
  bool visible;
};
ButtonPlace PlaceButton(int index, int tabTop);

constexpr int kButtonsShown = 20;
constexpr int kButtonSlots = 50;

// A colour given as blue-green-red plus alpha, as ARGB. Opaque colours get
// alpha 254, not 255.
std::uint32_t ArgbFromBgr(std::uint32_t bgr, int alpha = 255, bool alphaGiven = false);
