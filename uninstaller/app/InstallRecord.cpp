#include "InstallRecord.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr std::size_t kInfoBytes = sizeof(tagUninstallInfo);
constexpr std::size_t kItemBytes = sizeof(tagUninstallItem);
constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kInstallDirOffset = 360;
// Indexed by the item kinds' values, which run from 0 without a gap.
constexpr const char* kKindNames[] = {"folder", "file", "folder-if-empty", "settings-if-empty"};

// A byte source with the end-of-file behaviour of a C stream: the end is
// noticed only by a read that comes up short.
class RecordStream {
 public:
  RecordStream(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  // Copies up to `count` bytes; returns how many came.
  std::size_t Read(std::uint8_t* out, std::size_t count) {
    const std::size_t available = std::min(count, m_size - m_position);
    if (available > 0) std::memcpy(out, m_data + m_position, available);
    m_position += available;
    if (available < count) m_atEnd = true;
    return available;
  }

  bool AtEnd() const { return m_atEnd; }
  bool Exhausted() const { return m_position == m_size; }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_position = 0;
  bool m_atEnd = false;
};

std::uint16_t Unit(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::int32_t Int32(const std::uint8_t* bytes) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                                   static_cast<std::uint32_t>(bytes[2]) << 16 |
                                   static_cast<std::uint32_t>(bytes[3]) << 24);
}

// `available` of the field's bytes came from the file, the rest are zeros. A
// text with no terminator inside its field, or one whose terminator lies past
// the end of the file, was cut: it may name a parent of the folder meant
// ("D:\\Games\\" of "D:\\Games\\Quobly\\"), another product's key or
// shortcut, so it reads as empty.
template <std::size_t N>
void DecodeText(RecordChar (&field)[N], const std::uint8_t* bytes, std::size_t available) {
  std::size_t length = N;
  for (std::size_t i = 0; i < N && length == N; ++i) {
    if (Unit(bytes + 2 * i) == 0) length = i;
  }
  const bool whole = length < N && 2 * (length + 1) <= available;
  for (std::size_t i = 0; i < N; ++i) field[i] = whole && i < length ? static_cast<RecordChar>(Unit(bytes + 2 * i)) : 0;
}

// How many of `fieldBytes` bytes at `offset` lie inside the `available` ones.
std::size_t BytesInside(std::size_t available, std::size_t offset, std::size_t fieldBytes) {
  return available > offset ? std::min(available - offset, fieldBytes) : 0;
}

template <std::size_t N>
void EncodeText(std::vector<std::uint8_t>& out, const RecordChar (&field)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    const auto unit = static_cast<std::uint16_t>(i + 1 < N ? field[i] : 0);
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
}

void EncodeInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

tagUninstallInfo DecodeInfo(const std::uint8_t (&bytes)[kInfoBytes], std::size_t available) {
  tagUninstallInfo info;
  DecodeText(info.szRegKey, bytes, BytesInside(available, 0, 200));
  DecodeText(info.szProductName, bytes + 200, BytesInside(available, 200, 100));
  DecodeText(info.szMenuFolder, bytes + 300, BytesInside(available, 300, 60));
  DecodeText(info.szInstallDir, bytes + kInstallDirOffset, BytesInside(available, kInstallDirOffset, 400));
  return info;
}

// One record into a zero-filled buffer: a short read leaves zeros behind.
tagUninstallItem ReadItem(RecordStream& stream) {
  std::uint8_t bytes[kItemBytes] = {};
  const std::size_t available = stream.Read(bytes, kItemBytes);
  tagUninstallItem item;
  item.nKind = Int32(bytes);
  DecodeText(item.szPath, bytes + 4, BytesInside(available, 4, kItemBytes - 4));
  return item;
}

std::int32_t ReadCount(RecordStream& stream) {
  std::uint8_t bytes[kCountBytes] = {};
  return stream.Read(bytes, kCountBytes) == kCountBytes ? Int32(bytes) : 0;
}

// The header; `wholeFolder` tells whether it names an install folder at all,
// usable or not: that alone decides whether an item list follows.
tagUninstallInfo ReadInfo(RecordStream& stream, bool& wholeFolder) {
  std::uint8_t bytes[kInfoBytes] = {};
  const std::size_t available = stream.Read(bytes, kInfoBytes);
  wholeFolder = Unit(bytes + kInstallDirOffset) != 0;
  return DecodeInfo(bytes, available);
}

}  // namespace

ItemKind KindOf(std::int32_t nKind) {
  switch (nKind) {
    case 0:
      return ItemKind::kFolderTree;
    case 2:
      return ItemKind::kFolderIfEmpty;
    case 3:
      return ItemKind::kSettingsIfEmpty;
    default:
      return ItemKind::kFile;
  }
}

const char* KindName(ItemKind kind) {
  return kKindNames[static_cast<std::size_t>(kind)];
}

std::optional<ItemKind> KindNamed(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kKindNames); ++i) {
    if (name == kKindNames[i]) return static_cast<ItemKind>(i);
  }
  return std::nullopt;
}

bool IsWholeFolderMode(const InstallRecord& record) {
  return record.wholeFolder || record.info.szInstallDir[0] != 0;
}

tagUninstallInfo ReadInstallInfo(const std::uint8_t* data, std::size_t size) {
  RecordStream stream(data, size);
  bool wholeFolder = false;
  return ReadInfo(stream, wholeFolder);
}

InstallRecord ReadInstallRecord(const std::uint8_t* data, std::size_t size) {
  RecordStream stream(data, size);
  InstallRecord record;
  record.info = ReadInfo(stream, record.wholeFolder);

  if (!record.wholeFolder) {
    const std::int32_t count = ReadCount(stream);
    if (count > kMaxRecordListItems) return record;
    // Past the end every record reads as zeros and is skipped, so stopping
    // there changes nothing.
    for (std::int32_t i = 0; i < count && !stream.Exhausted(); ++i) {
      tagUninstallItem item = ReadItem(stream);
      if (item.szPath[0] != 0) record.items.push_back(item);
    }
  }

  const std::int32_t linkCount = stream.AtEnd() ? 0 : ReadCount(stream);
  if (linkCount > kMaxRecordListItems) return record;
  for (std::int32_t i = 0; i < linkCount && !stream.AtEnd(); ++i) record.links.push_back(ReadItem(stream));
  return record;
}

std::vector<std::uint8_t> WriteInstallRecord(const InstallRecord& record) {
  std::vector<std::uint8_t> out;
  out.reserve(kInfoBytes + 2 * kCountBytes + (record.items.size() + record.links.size()) * kItemBytes);
  EncodeText(out, record.info.szRegKey);
  EncodeText(out, record.info.szProductName);
  EncodeText(out, record.info.szMenuFolder);
  EncodeText(out, record.info.szInstallDir);

  auto writeList = [&out](const std::vector<tagUninstallItem>& list) {
    EncodeInt32(out, static_cast<std::int32_t>(list.size()));
    for (const tagUninstallItem& item : list) {
      EncodeInt32(out, item.nKind);
      EncodeText(out, item.szPath);
    }
  };
  if (!IsWholeFolderMode(record)) writeList(record.items);
  if (!record.links.empty()) writeList(record.links);
  return out;
}
