// The install record reader on arbitrary files: it must read any bytes
// safely, and what it read must survive being written and read again.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "InstallRecord.h"

namespace {

bool SameItems(const std::vector<tagUninstallItem>& a, const std::vector<tagUninstallItem>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].nKind != b[i].nKind || std::memcmp(a[i].szPath, b[i].szPath, sizeof a[i].szPath) != 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const InstallRecord record = ReadInstallRecord(data, size);
  const tagUninstallInfo info = ReadInstallInfo(data, size);
  if (std::memcmp(&info, &record.info, sizeof info) != 0) std::abort();
  // Every record read took at least one byte of the file, and no list
  // outgrows the bound.
  if ((record.items.size() + record.links.size()) * 4 > size) std::abort();
  constexpr auto kBound = static_cast<size_t>(kMaxRecordListItems);
  if (record.items.size() > kBound || record.links.size() > kBound) std::abort();

  // The file cut short names nothing the whole one does not: the items it
  // keeps are the whole one's first items.
  const InstallRecord cut = ReadInstallRecord(data, size / 2);
  if (cut.items.size() > record.items.size()) std::abort();
  for (size_t i = 0; i < cut.items.size(); ++i) {
    if (std::u16string(cut.items[i].szPath) != std::u16string(record.items[i].szPath)) std::abort();
  }

  // An install folder that reads as empty because it was cut still keeps
  // the record in whole-folder mode; written out, it would read as per-item.
  if (record.wholeFolder && record.info.szInstallDir[0] == 0) return 0;
  const std::vector<uint8_t> written = WriteInstallRecord(record);
  const InstallRecord again = ReadInstallRecord(written.data(), written.size());
  if (std::memcmp(&again.info, &record.info, sizeof info) != 0) std::abort();
  if (!SameItems(again.items, record.items) || !SameItems(again.links, record.links)) std::abort();
  return 0;
}
