// record_list: prints an install record file as the uninstaller reads it,
// through the project's own reader, one "key value" a line in UTF-8:
//
//   record_list RECORD
//
//   regkey <text>  product <text>  menu <text>  installdir <text>
//   mode per-item | whole-folder
//   <kind> <path>   (per-item entries, in file order; the kind's name as
//                    KindName gives it: file, folder, folder-if-empty,
//                    settings-if-empty)
//   link <path>
//
// Built natively (native/CMakeLists.txt); the installer's test compares its
// output with what the install laid down.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "InstallRecord.h"

namespace {

void PutUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// A field as UTF-8; a unit that is half of no pair becomes U+FFFD.
std::string Utf8(const RecordChar* field) {
  std::string out;
  for (; *field != 0; ++field) {
    const char32_t unit = static_cast<char16_t>(*field);
    const char32_t next = static_cast<char16_t>(field[1]);
    if (unit >= 0xD800 && unit < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
      PutUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
      ++field;
    } else {
      PutUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
  }
  return out;
}

void PrintLine(const char* key, const RecordChar* field) {
  std::printf("%s %s\n", key, Utf8(field).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: record_list RECORD\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const InstallRecord record = ReadInstallRecord(bytes.data(), bytes.size());
  PrintLine("regkey", record.info.szRegKey);
  PrintLine("product", record.info.szProductName);
  PrintLine("menu", record.info.szMenuFolder);
  PrintLine("installdir", record.info.szInstallDir);
  std::printf("mode %s\n", IsWholeFolderMode(record) ? "whole-folder" : "per-item");
  for (const tagUninstallItem& item : record.items) PrintLine(KindName(KindOf(item.nKind)), item.szPath);
  for (const tagUninstallItem& link : record.links) PrintLine("link", link.szPath);
  return 0;
}
