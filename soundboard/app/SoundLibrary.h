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

// Parallel lists read from the binding file at start-up: hotkey names and
// the names of the sounds bound to them.
struct Bindings {
  std::vector<std::string> keys;
  std::vector<std::string> names;
};

// Lines end "\r\n"; only a line with exactly one "=" counts (section headers
// and empty lines have none). Both sides are reduced to file names without
// extension.
Bindings ParseBindings(std::string_view text);

// The hotkey shown on a sound's button: that of the first binding whose
// sound has this name (exact bytes), or empty.
std::string HotkeyTagFor(std::string_view soundName, const Bindings& bindings);

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
