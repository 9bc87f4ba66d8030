// pvRecordWriter: makes an install record file from a description, for tests
// and demos (the product's installer, which writes the real ones, is not part
// of this project).
//
//   pvRecordWriter.exe DESCRIPTION OUTPUT
//
// The description is UTF-8 text, one "key = value" a line; blank lines and
// lines starting with '#' are skipped. Keys: regkey, product, menu,
// installdir (set it for whole-folder mode), and any number of item lines,
// each named for its kind (file, folder: the path ends with a backslash,
// folder-if-empty, settings-if-empty; see ItemKind), and link lines, kept in
// their order.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "InstallRecord.h"

namespace {

std::u16string FromUtf8(const std::string& text) {
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], units);
  return std::u16string(wide.begin(), wide.end());
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

tagUninstallItem MakeItem(std::int32_t kind, const std::u16string& path) {
  tagUninstallItem item = {};
  item.nKind = kind;
  SetRecordText(item.szPath, path);
  return item;
}

// Returns false, naming the line, when a line is not understood.
bool Describe(std::istream& in, InstallRecord& record) {
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      std::fprintf(stderr, "line %d: expected key = value\n", number);
      return false;
    }
    const std::string key = Trim(line.substr(0, equals));
    const std::u16string value = FromUtf8(Trim(line.substr(equals + 1)));
    if (key == "regkey") {
      SetRecordText(record.info.szRegKey, value);
    } else if (key == "product") {
      SetRecordText(record.info.szProductName, value);
    } else if (key == "menu") {
      SetRecordText(record.info.szMenuFolder, value);
    } else if (key == "installdir") {
      SetRecordText(record.info.szInstallDir, value);
    } else if (const std::optional<ItemKind> kind = KindNamed(key)) {
      record.items.push_back(MakeItem(static_cast<std::int32_t>(*kind), value));
    } else if (key == "link") {
      record.links.push_back(MakeItem(1, value));
    } else {
      std::fprintf(stderr, "line %d: unknown key '%s'\n", number, key.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pvRecordWriter DESCRIPTION OUTPUT\n");
    return 2;
  }
  std::ifstream description(argv[1]);
  if (!description) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  InstallRecord record = {};
  if (!Describe(description, record)) return 1;
  if (IsWholeFolderMode(record) && !record.items.empty()) {
    std::fprintf(stderr, "item lines need an empty installdir\n");
    return 1;
  }

  const std::vector<std::uint8_t> bytes = WriteInstallRecord(record);
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
