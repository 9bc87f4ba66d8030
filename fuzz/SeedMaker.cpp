// fuzz_seed_maker: writes the seed corpora of the fuzz targets, each a folder
// of small valid inputs made by the project's own writers (install records,
// skin package entries, proxy records) and by zlib.
//
//   fuzz_seed_maker OUTPUT_FOLDER [SKIN_PICTURE...]
//
// The pictures named go into the skin packages as their entries' data.
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "InstallRecord.h"
#include "InstallRecordSamples.h"
#include "ProxyRecordBuilder.h"
#include "SkinPackage.h"
#include "ExTextBuffer.h"
#include "TextBufferOperations.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

void WriteSeed(const fs::path& folder, const std::string& name, const Bytes& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

Bytes FromText(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void InstallRecordSeeds(const fs::path& folder) {
  const InstallRecord perItem = PerItemRecord();
  WriteSeed(folder, "per-item", WriteInstallRecord(perItem));

  InstallRecord headerOnly = perItem;
  headerOnly.items.clear();
  headerOnly.links.clear();
  WriteSeed(folder, "header-only", WriteInstallRecord(headerOnly));

  InstallRecord wholeFolder = perItem;
  SetRecordText(wholeFolder.info.szInstallDir, u"C:\\Program Files\\Quobly\\");
  WriteSeed(folder, "whole-folder", WriteInstallRecord(wholeFolder));
}

void SkinPackageSeeds(const fs::path& folder, const std::vector<fs::path>& pictures) {
  Bytes package;
  Bytes firstEntry;
  for (const fs::path& picture : pictures) {
    const Bytes data = ReadFile(picture);
    const Bytes header =
        skinpkg::EntryHeader(skinpkg::EntryName(u"C:\\skin\\" + picture.filename().u16string()), uint32_t(data.size()));
    Bytes entry = header;
    entry.insert(entry.end(), data.begin(), data.end());
    if (firstEntry.empty()) firstEntry = entry;
    package.insert(package.end(), entry.begin(), entry.end());
  }
  const Bytes buttonHeader = skinpkg::EntryHeader(skinpkg::EntryName(u"C:\\skin\\button.png"), 0);
  const Bytes checkboxHeader = skinpkg::EntryHeader(skinpkg::EntryName(u"C:\\skin\\checkbox.png"), 4);
  Bytes controls = buttonHeader;
  controls.insert(controls.end(), checkboxHeader.begin(), checkboxHeader.end());
  controls.insert(controls.end(), {0x89, 'P', 'N', 'G'});
  WriteSeed(folder, "controls", controls);
  if (!package.empty()) {
    WriteSeed(folder, "pictures", package);
    WriteSeed(folder, "one-picture", firstEntry);
  }
}

void ProxyRecordSeeds(const fs::path& folder) {
  WriteSeed(folder, "enabled",
            ProxyRecordBuilder()
                .Flag(1)
                .Text(ProxyRecordBuilder::kHost, u"代理.example")
                .Text(ProxyRecordBuilder::kPort, u"8080")
                .Text(ProxyRecordBuilder::kUserName, u"user")
                .Text(ProxyRecordBuilder::kPassword, u"secret")
                .Bytes());
  WriteSeed(folder, "disabled", ProxyRecordBuilder().Text(ProxyRecordBuilder::kHost, u"127.0.0.1").Bytes());
}

void BindingSeeds(const fs::path& folder) {
  // GBK, as the soundboard writes its binding file: [热键], F1键, 掌声, 空格键.
  const std::string key = "\xbc\xfc";
  WriteSeed(folder, "bindings",
            FromText("[\xc8\xc8" + key + "]\r\nF1" + key + "=C:\\Quobly\\\xd6\xf7\xb3\xd6\\\xd5\xc6\xc9\xf9.mp3\r\n" +
                     "A" + key + "=D:\\x\\a.b.mp3\r\n\xbf\xd5\xb8\xf1" + key + "=\r\n"));
  WriteSeed(folder, "backslash-byte", FromText("Z" + key + "=C:\\\x81\x5c\\\x81\x5c.mp3\r\n"));
  // As an uninstall may find it: no binding left, or none ever made.
  WriteSeed(folder, "no-binding", FromText("\r\n[\xc8\xc8" + key + "]\r\n; \xd7\xa2\xca\xcd\r\n  \t\r\n"));
}

// A two-byte limit in front of the input, as the targets read it.
Bytes WithLimit(uint16_t limit, const Bytes& input) {
  Bytes bytes = {uint8_t(limit & 0xFF), uint8_t(limit >> 8)};
  bytes.insert(bytes.end(), input.begin(), input.end());
  return bytes;
}

void UrlEncodeSeeds(const fs::path& folder) {
  WriteSeed(folder, "report-value", WithLimit(1023, FromText("Quobly \xe9\x9f\xb3\xe6\x95\x88 1.0&x=y")));
  WriteSeed(folder, "dot-segments", WithLimit(1023, FromText("a/b/./../c/../../d")));
  WriteSeed(folder, "tight-limit", WithLimit(8, FromText("%20 \x01\x7f")));
}

Bytes Compress(const std::string& text, int windowBits) {
  z_stream stream = {};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&stream, uLong(text.size())));
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = uInt(text.size());
  stream.next_out = out.data();
  stream.avail_out = uInt(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

void GzipSeeds(const fs::path& folder) {
  std::string reply = "{\"code\":0,\"msg\":\"ok\"}";
  std::string lines;
  for (int i = 0; i < 40; ++i) lines += "line " + std::to_string(i) + " of the reply\n";
  WriteSeed(folder, "gzip", WithLimit(4096, Compress(reply, 15 + 16)));
  WriteSeed(folder, "zlib", WithLimit(4096, Compress(lines, 15)));
  WriteSeed(folder, "gzip-cut-by-limit", WithLimit(100, Compress(lines, 15 + 16)));
}

// Writes an operation stream of the text buffer's fuzz target.
class TextBufferScript {
 public:
  TextBufferScript(bool multiLine, int mode) { m_bytes.push_back(uint8_t((multiLine ? 1 : 0) | mode << 1)); }

  TextBufferScript& Op(TextBufferOperation operation) {
    m_bytes.push_back(operation);
    return *this;
  }
  TextBufferScript& Type(const std::string& keys) {
    for (char key : keys) Op(kType).m_bytes.push_back(uint8_t(key));
    return *this;
  }
  TextBufferScript& Text(TextBufferOperation operation, const std::u16string& text) {
    Op(operation).m_bytes.push_back(uint8_t(text.size()));
    for (char16_t unit : text) Unit(unit);
    return *this;
  }
  TextBufferScript& Select(uint16_t anchor, uint16_t caret) {
    Op(kSelect).Unit(anchor).Unit(caret);
    return *this;
  }
  TextBufferScript& Move(ExCaretMove move, bool extend) {
    Op(kMoveCaret).m_bytes.push_back(uint8_t(int(move) | (extend ? 8 : 0)));
    return *this;
  }
  TextBufferScript& SetMode(int mode) {
    Op(kSetMode).m_bytes.push_back(uint8_t(mode));
    return *this;
  }
  const std::vector<uint8_t>& Script() const { return m_bytes; }

 private:
  TextBufferScript& Unit(uint16_t unit) {
    m_bytes.push_back(uint8_t(unit & 0xFF));
    m_bytes.push_back(uint8_t(unit >> 8));
    return *this;
  }

  std::vector<uint8_t> m_bytes;
};

void TextBufferSeeds(const fs::path& folder) {
  const int normal = 0, readOnly = 1, password = 2, integer = 3, decimal = 4;
  WriteSeed(folder, "typed-and-edited",
            TextBufferScript(false, normal)
                .Type("hello world")
                .Select(6, 0)
                .Type("J")
                .Op(kBackspace)
                .Op(kDeleteForward)
                .Move(ExCaretMove::kEnd, false)
                .Move(ExCaretMove::kLeft, true)
                .Op(kDeleteSelection)
                .Script());
  WriteSeed(folder, "ime-text",
            TextBufferScript(false, normal)
                .Text(kInsertText, u"你好, 世界 \U0001F600!")
                .Move(ExCaretMove::kLeft, false)
                .Move(ExCaretMove::kLeft, false)
                .Op(kBackspace)
                .Text(kInsertText, u"音效")
                .Script());
  WriteSeed(folder, "multi-line",
            TextBufferScript(true, normal)
                .Text(kSetText, u"first line\r\nab\rthird")
                .Select(8, 8)
                .Move(ExCaretMove::kDown, false)
                .Move(ExCaretMove::kDown, true)
                .Op(kLineBreak)
                .Move(ExCaretMove::kUp, false)
                .Move(ExCaretMove::kHome, true)
                .Move(ExCaretMove::kTextEnd, false)
                .Text(kInsertText, u"one\ntwo\tthree")
                .Script());
  WriteSeed(folder, "cut-and-paste",
            TextBufferScript(true, normal)
                .Type("abc def")
                .Op(kSelectAll)
                .Op(kCut)
                .Op(kPaste)
                .Op(kPaste)
                .Select(2, 5)
                .Op(kCopy)
                .Move(ExCaretMove::kTextStart, false)
                .Op(kPaste)
                .Script());
  WriteSeed(folder, "number-modes",
            TextBufferScript(false, integer)
                .Type("-12.5/x 7")
                .Text(kInsertText, u"价格 -12.5元")
                .SetMode(decimal)
                .Type("1.5.2-3/4")
                .Text(kInsertText, u"3.1.4")
                .Script());
  WriteSeed(folder, "password-and-read-only",
            TextBufferScript(false, password)
                .Type("p4ss w.rd")
                .Op(kSelectAll)
                .Op(kCopy)
                .Op(kCut)
                .SetMode(readOnly)
                .Op(kBackspace)
                .Text(kSetText, u"fixed")
                .Op(kSelectAll)
                .Op(kCut)
                .Script());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fuzz_seed_maker OUTPUT_FOLDER [SKIN_PICTURE...]\n");
    return 2;
  }
  const fs::path out = argv[1];
  InstallRecordSeeds(out / "install_record");
  SkinPackageSeeds(out / "skin_package", std::vector<fs::path>(argv + 2, argv + argc));
  ProxyRecordSeeds(out / "proxy_record");
  BindingSeeds(out / "bindings");
  BindingSeeds(out / "settings_text");
  UrlEncodeSeeds(out / "url_encode");
  GzipSeeds(out / "gzip_decode");
  TextBufferSeeds(out / "text_buffer");
  return 0;
}
