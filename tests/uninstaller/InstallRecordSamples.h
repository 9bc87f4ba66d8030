// A sample install record for the tests and the fuzz seeds: per-item mode,
// a file, a folder and a desktop shortcut.
#pragma once

#include <cstdint>
#include <string>

#include "InstallRecord.h"

inline tagUninstallItem RecordItem(std::int32_t kind, const std::u16string& path) {
  tagUninstallItem item = {};
  item.nKind = kind;
  SetRecordText(item.szPath, path);
  return item;
}

inline InstallRecord PerItemRecord() {
  InstallRecord record = {};
  SetRecordText(record.info.szRegKey, u"Quobly");
  SetRecordText(record.info.szProductName, u"Quobly 音效");
  SetRecordText(record.info.szMenuFolder, u"Quobly");
  record.items = {RecordItem(1, u"C:\\q\\a.txt"), RecordItem(0, u"C:\\q\\sounds\\")};
  record.links = {RecordItem(1, u"C:\\links\\q.lnk")};
  return record;
}
