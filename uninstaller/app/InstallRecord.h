// The install record file "pvUninstall.dat": what the installer laid down.
// Platform-free: reading and writing work on bytes, never on the file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// UTF-16 units of the record's text fields: wchar_t where it is 16 bits wide.
#if defined(_WIN32)
using RecordChar = wchar_t;
#else
using RecordChar = char16_t;
#endif

// Header, 760 bytes at offset 0. Every text field is terminated inside its
// field once read, whatever the file holds; one with no terminator inside its
// field, or cut by the end of the file, reads as empty.
struct tagUninstallInfo {
  RecordChar szRegKey[100];      // subkey of the system's Uninstall key
  RecordChar szProductName[50];  // display name; base name of the desktop shortcut
  RecordChar szMenuFolder[30];   // folder inside the start-menu Programs folder
  RecordChar szInstallDir[200];  // empty: per-item mode; else whole-folder mode
};

// One item to remove (nKind: see ItemKind) or further shortcut, 524 bytes.
struct tagUninstallItem {
  std::int32_t nKind;
  RecordChar szPath[260];
};

static_assert(sizeof(tagUninstallInfo) == 760, "record header layout");
static_assert(sizeof(tagUninstallItem) == 524, "record item layout");

// What an item asks to remove, by its nKind. Records made before kinds 2 and
// 3 existed hold 0 and 1 only, and every kind but 0 was read as one file;
// each newer kind removes less than a file would (at most an empty folder),
// so a record that used their numbers for a file can at worst keep it.
enum class ItemKind : std::int32_t {
  kFolderTree = 0,       // a folder and everything below it; the path ends with a backslash
  kFile = 1,             // one file; so is any number not listed here
  kFolderIfEmpty = 2,    // a folder the installer made: removed only when empty, never with its contents
  kSettingsIfEmpty = 3,  // the installer's settings file: removed only while it holds no setting
};

// The kind an item's nKind stands for.
ItemKind KindOf(std::int32_t nKind);

// The kind's word in the text forms of a record (tools/record-writer,
// tools/record-list): "folder", "file", "folder-if-empty", "settings-if-empty".
const char* KindName(ItemKind kind);
std::optional<ItemKind> KindNamed(std::string_view name);

struct InstallRecord {
  tagUninstallInfo info;
  std::vector<tagUninstallItem> items;  // per-item mode only; empty paths left out
  std::vector<tagUninstallItem> links;  // kept as read, empty paths too
  // The header names an install folder, even one that reads as empty because
  // it was cut: such a record is still in whole-folder mode (no item list
  // follows), but has no folder to remove.
  bool wholeFolder = false;
};

// Set by the reader, or for a record to write by a non-empty install folder.
bool IsWholeFolderMode(const InstallRecord& record);

// Reads the header alone (a short file leaves the rest zero).
tagUninstallInfo ReadInstallInfo(const std::uint8_t* data, std::size_t size);

// The most items or links a record's list may count. The installer writes a
// few hundred; a larger count is damage, and what is summed over the items
// stays small.
constexpr std::int32_t kMaxRecordListItems = 65536;

// Reads the whole record as the installer's format is read: the item list in
// per-item mode only, then the optional link list. Truncated records read as
// zeros past the end of the data (a path cut short as empty, so the item is
// left out); a link list cut short gets one zero item. A list counting more
// than kMaxRecordListItems is refused: the record reads as if it ended
// before that count.
InstallRecord ReadInstallRecord(const std::uint8_t* data, std::size_t size);

// Writes a record in exactly the layout above. Text longer than its field is
// cut so that the terminator still fits. In whole-folder mode no item list
// is written, as the format requires.
std::vector<std::uint8_t> WriteInstallRecord(const InstallRecord& record);

// Fills a text field from UTF-16 text, cut to leave room for the terminator.
template <std::size_t N>
void SetRecordText(RecordChar (&field)[N], const std::u16string& text) {
  std::size_t i = 0;
  for (; i + 1 < N && i < text.size(); ++i) field[i] = static_cast<RecordChar>(text[i]);
  for (; i < N; ++i) field[i] = 0;
}
