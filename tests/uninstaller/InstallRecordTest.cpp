#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <random>
#include <string>

#include "InstallRecord.h"
#include "InstallRecordSamples.h"

namespace {

std::u16string Text(const RecordChar* field) {
  std::u16string text;
  for (; *field != 0; ++field) text += static_cast<char16_t>(*field);
  return text;
}

void PutInt32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

TEST(InstallRecordTest, WriterLaysOutFixedLittleEndianRecords) {
  const std::vector<std::uint8_t> bytes = WriteInstallRecord(PerItemRecord());
  ASSERT_EQ(bytes.size(), 760u + 4 + 2 * 524 + 4 + 524);
  EXPECT_EQ(bytes[0], 'Q');
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[200], 'Q');           // product name
  EXPECT_EQ(bytes[200 + 2 * 7], 0xF3);  // 音 = U+97F3, low byte first
  EXPECT_EQ(bytes[200 + 2 * 7 + 1], 0x97);
  EXPECT_EQ(bytes[300], 'Q');  // menu folder
  EXPECT_EQ(bytes[360], 0);    // no install folder
  EXPECT_EQ(bytes[760], 2);    // item count
  EXPECT_EQ(bytes[764], 1);    // first item: a file
  EXPECT_EQ(bytes[768], 'C');
  EXPECT_EQ(bytes[764 + 524], 0);      // second item: a folder
  EXPECT_EQ(bytes[764 + 2 * 524], 1);  // link count

  const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
  EXPECT_EQ(Text(read.info.szProductName), u"Quobly 音效");
  ASSERT_EQ(read.items.size(), 2u);
  EXPECT_EQ(Text(read.items[1].szPath), u"C:\\q\\sounds\\");
  EXPECT_EQ(read.items[1].nKind, 0);
  ASSERT_EQ(read.links.size(), 1u);
  EXPECT_EQ(Text(read.links[0].szPath), u"C:\\links\\q.lnk");
}

// Records from before kinds 2 and 3 hold 0 and 1, and any other number was
// one file: it still is, and the newer kinds keep their numbers through a
// write and a read.
TEST(InstallRecordTest, KindsKeepTheirNumbersAndUnknownNumbersAreFiles) {
  const struct {
    std::int32_t nKind;
    ItemKind kind;
  } kCases[] = {{0, ItemKind::kFolderTree},      {1, ItemKind::kFile},         {2, ItemKind::kFolderIfEmpty},
                {3, ItemKind::kSettingsIfEmpty}, {4, ItemKind::kFile},         {-1, ItemKind::kFile},
                {0x102, ItemKind::kFile},        {0x7FFFFFFF, ItemKind::kFile}};
  InstallRecord record = PerItemRecord();
  record.items.clear();
  for (const auto& entry : kCases) {
    EXPECT_EQ(KindOf(entry.nKind), entry.kind) << entry.nKind;
    record.items.push_back(RecordItem(entry.nKind, u"C:\\q\\item"));
  }
  const std::vector<std::uint8_t> bytes = WriteInstallRecord(record);
  const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
  ASSERT_EQ(read.items.size(), std::size(kCases));
  for (std::size_t i = 0; i < read.items.size(); ++i) EXPECT_EQ(read.items[i].nKind, kCases[i].nKind);
}

TEST(InstallRecordTest, KindNamesReadBackAsTheirKinds) {
  for (ItemKind kind : {ItemKind::kFolderTree, ItemKind::kFile, ItemKind::kFolderIfEmpty, ItemKind::kSettingsIfEmpty}) {
    EXPECT_EQ(KindNamed(KindName(kind)), kind) << KindName(kind);
  }
  EXPECT_STREQ(KindName(ItemKind::kFolderIfEmpty), "folder-if-empty");
  EXPECT_STREQ(KindName(ItemKind::kSettingsIfEmpty), "settings-if-empty");
  for (const char* name : {"", "link", "Folder", "folder-if-empty ", "settings"}) {
    EXPECT_FALSE(KindNamed(name).has_value()) << name;
  }
}

TEST(InstallRecordTest, HeaderAloneHasNoItemsAndNoLinks) {
  std::vector<std::uint8_t> bytes = WriteInstallRecord(PerItemRecord());
  bytes.resize(760);
  const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
  EXPECT_EQ(Text(read.info.szRegKey), u"Quobly");
  EXPECT_TRUE(read.items.empty());
  EXPECT_TRUE(read.links.empty());
}

TEST(InstallRecordTest, ItemsWithEmptyPathsAreSkippedButLinksKeepThem) {
  InstallRecord record = PerItemRecord();
  record.items.insert(record.items.begin(), RecordItem(1, u""));
  record.links.push_back(RecordItem(1, u""));
  const std::vector<std::uint8_t> bytes = WriteInstallRecord(record);
  const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
  EXPECT_EQ(read.items.size(), 2u);
  EXPECT_EQ(read.links.size(), 2u);
}

TEST(InstallRecordTest, LinkListShorterThanItsCountGainsOneZeroItem) {
  std::vector<std::uint8_t> bytes = WriteInstallRecord(PerItemRecord());
  PutInt32(bytes, 764 + 2 * 524, 5);
  const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
  ASSERT_EQ(read.links.size(), 2u);
  EXPECT_EQ(Text(read.links[0].szPath), u"C:\\links\\q.lnk");
  EXPECT_EQ(read.links[1].szPath[0], 0);
}

TEST(InstallRecordTest, CountsOfZeroOrBelowMeanEmptyLists) {
  std::vector<std::uint8_t> bytes = WriteInstallRecord(PerItemRecord());
  PutInt32(bytes, 760, -3);
  // The item records now stand where the link count is looked for: the
  // first item's kind (1) is read as the link count.
  const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
  EXPECT_TRUE(read.items.empty());
  ASSERT_EQ(read.links.size(), 1u);
}

TEST(InstallRecordTest, WholeFolderModeReadsStrayItemListAsLinks) {
  InstallRecord perItem = PerItemRecord();
  std::vector<std::uint8_t> bytes = WriteInstallRecord(perItem);
  const std::u16string dir = u"C:\\Program Files\\Quobly\\";
  for (std::size_t i = 0; i < dir.size(); ++i) bytes[360 + 2 * i] = static_cast<std::uint8_t>(dir[i]);

  const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
  EXPECT_TRUE(IsWholeFolderMode(read));
  EXPECT_TRUE(read.items.empty());
  ASSERT_EQ(read.links.size(), 2u);
  EXPECT_EQ(Text(read.links[1].szPath), u"C:\\q\\sounds\\");
}

TEST(InstallRecordTest, WriterLeavesItemListOutInWholeFolderMode) {
  InstallRecord record = PerItemRecord();
  SetRecordText(record.info.szInstallDir, u"C:\\Program Files\\Quobly\\");
  const std::vector<std::uint8_t> bytes = WriteInstallRecord(record);
  EXPECT_EQ(bytes.size(), 760u + 4 + 524);
  EXPECT_EQ(ReadInstallRecord(bytes.data(), bytes.size()).links.size(), 1u);
}

TEST(InstallRecordTest, TextFieldsAreTerminatedInsideTheirFields) {
  std::vector<std::uint8_t> bytes(760 + 4 + 524, 'x');  // no terminator anywhere
  bytes[360] = bytes[361] = 0;                          // per-item mode
  PutInt32(bytes, 760, 1);
  PutInt32(bytes, 764, 1);
  const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
  EXPECT_EQ(Text(read.info.szRegKey), u"");
  EXPECT_EQ(Text(read.info.szProductName), u"");
  EXPECT_EQ(Text(read.info.szMenuFolder), u"");
  EXPECT_TRUE(read.items.empty());
  bytes[300 + 58] = bytes[300 + 59] = 0;  // the menu folder's last unit: 29 units and their terminator
  EXPECT_EQ(Text(ReadInstallRecord(bytes.data(), bytes.size()).info.szMenuFolder).size(), 29u);

  InstallRecord record = {};
  SetRecordText(record.info.szProductName, std::u16string(49, u'软'));
  EXPECT_EQ(Text(record.info.szProductName), std::u16string(49, u'软'));
  SetRecordText(record.info.szProductName, std::u16string(60, u'软'));
  EXPECT_EQ(Text(record.info.szProductName).size(), 49u);
}

// Up to the bound a list is read as far as the data goes; a count above it
// is damage, and the record reads as if it ended before that count.
TEST(InstallRecordTest, CountsAboveTheBoundEndTheRecord) {
  constexpr std::size_t kItemCount = 760;
  constexpr std::size_t kLinkCount = 764 + 2 * 524;
  const struct {
    std::size_t offset;
    std::size_t size;  // 0: the whole record
    std::int32_t count;
    std::size_t items;
    std::size_t links;
  } kCases[] = {
      {kItemCount, 760 + 4 + 100, kMaxRecordListItems, 1, 0},  // the cut first item, zero-filled after its data
      {kItemCount, 760 + 4 + 100, kMaxRecordListItems + 1, 0, 0},
      {kItemCount, 0, kMaxRecordListItems + 1, 0, 0},
      {kItemCount, 0, 0x7FFFFFFF, 0, 0},
      {kLinkCount, 0, kMaxRecordListItems, 2, 2},  // the link and one zero item
      {kLinkCount, 0, kMaxRecordListItems + 1, 2, 0},
      {kLinkCount, 0, 0x7FFFFFFF, 2, 0},
  };
  for (const auto& test : kCases) {
    SCOPED_TRACE(testing::Message() << "count " << test.count << " at " << test.offset);
    std::vector<std::uint8_t> bytes = WriteInstallRecord(PerItemRecord());
    if (test.size != 0) bytes.resize(test.size);
    PutInt32(bytes, test.offset, test.count);
    const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
    EXPECT_EQ(read.items.size(), test.items);
    EXPECT_EQ(read.links.size(), test.links);
    EXPECT_EQ(Text(read.info.szRegKey), u"Quobly");
  }
}

// Cut anywhere, a record names only what the whole one names: a path or name
// cut by the end of the file reads as empty, never as a parent folder
// ("C:\\q\\" of "C:\\q\\sounds\\") or another product's key or shortcut.
TEST(InstallRecordTest, RecordCutAtAnyLengthNamesNothingTheWholeOneDoesNot) {
  InstallRecord whole = PerItemRecord();
  whole.links.push_back(RecordItem(1, u"C:\\links\\q.lnk.bak"));
  const std::vector<std::uint8_t> full = WriteInstallRecord(whole);
  const auto sameOrEmpty = [](const RecordChar* read, const RecordChar* original) {
    return Text(read).empty() || Text(read) == Text(original);
  };
  for (std::size_t size = 0; size <= full.size(); ++size) {
    SCOPED_TRACE(size);
    const InstallRecord read = ReadInstallRecord(full.data(), size);
    EXPECT_TRUE(sameOrEmpty(read.info.szRegKey, whole.info.szRegKey));
    EXPECT_TRUE(sameOrEmpty(read.info.szProductName, whole.info.szProductName));
    EXPECT_TRUE(sameOrEmpty(read.info.szMenuFolder, whole.info.szMenuFolder));
    ASSERT_LE(read.items.size(), whole.items.size());
    for (std::size_t i = 0; i < read.items.size(); ++i) {
      EXPECT_EQ(Text(read.items[i].szPath), Text(whole.items[i].szPath));
    }
    ASSERT_LE(read.links.size(), whole.links.size());
    for (std::size_t i = 0; i < read.links.size(); ++i) {
      EXPECT_TRUE(sameOrEmpty(read.links[i].szPath, whole.links[i].szPath));
    }
  }
  // A path that fills its field, cut inside its last unit (found by fuzzing).
  std::vector<std::uint8_t> filled(760 + 4 + 524, 'C');
  filled[360] = filled[361] = 0;  // per-item mode
  PutInt32(filled, 760, 1);
  EXPECT_TRUE(ReadInstallRecord(filled.data(), filled.size() - 3).items.empty());
  filled[filled.size() - 2] = filled[filled.size() - 1] = 0;
  EXPECT_EQ(ReadInstallRecord(filled.data(), filled.size()).items.size(), 1u);
  EXPECT_TRUE(ReadInstallRecord(filled.data(), filled.size() - 1).items.empty());

  // The same for the install folder of whole-folder mode.
  InstallRecord wholeFolder = PerItemRecord();
  SetRecordText(wholeFolder.info.szInstallDir, u"D:\\Games\\Quobly\\");
  const std::vector<std::uint8_t> header = WriteInstallRecord(wholeFolder);
  for (std::size_t size = 360; size <= 760; ++size) {
    const std::u16string dir = Text(ReadInstallInfo(header.data(), size).szInstallDir);
    EXPECT_TRUE(dir.empty() || dir == u"D:\\Games\\Quobly\\") << size;
  }
}

// A text with no terminator inside its field may be the start of a longer
// path ("D:\Games\" of "D:\Games\Quobly\..."): it is never used.
TEST(InstallRecordTest, TextsWithoutTerminatorInTheirFieldReadAsEmpty) {
  InstallRecord record = PerItemRecord();
  record.links.push_back(RecordItem(1, u"C:\\links\\other.lnk"));
  std::vector<std::uint8_t> bytes = WriteInstallRecord(record);
  for (std::size_t unit = 0; unit < 50; ++unit) bytes[200 + 2 * unit] = 'N';  // product name: 50 units, no terminator
  for (std::size_t unit = 0; unit < 260; ++unit) bytes[764 + 4 + 2 * unit] = 'P';  // first item's path
  const std::size_t firstLink = 760 + 4 + 2 * 524 + 4;
  for (std::size_t unit = 0; unit < 260; ++unit) bytes[firstLink + 4 + 2 * unit] = 'L';

  const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
  EXPECT_EQ(Text(read.info.szProductName), u"");
  EXPECT_EQ(Text(ReadInstallInfo(bytes.data(), bytes.size()).szProductName), u"");
  EXPECT_EQ(Text(read.info.szRegKey), u"Quobly");
  ASSERT_EQ(read.items.size(), 1u);  // the unterminated one skipped
  EXPECT_EQ(Text(read.items[0].szPath), u"C:\\q\\sounds\\");
  ASSERT_EQ(read.links.size(), 2u);
  EXPECT_EQ(Text(read.links[0].szPath), u"");
  EXPECT_EQ(Text(read.links[1].szPath), u"C:\\links\\other.lnk");

  // An unterminated install folder keeps the record in whole-folder mode
  // (what follows the header is the link list) with no folder to remove.
  for (std::size_t unit = 0; unit < 200; ++unit) bytes[360 + 2 * unit] = 'D';
  const InstallRecord whole = ReadInstallRecord(bytes.data(), bytes.size());
  EXPECT_TRUE(whole.wholeFolder);
  EXPECT_EQ(Text(whole.info.szInstallDir), u"");
  EXPECT_TRUE(whole.items.empty());
  EXPECT_EQ(whole.links.size(), 2u);  // the item count of 2 read as the link count
}

TEST(InstallRecordTest, TruncatedAndRandomFilesReadSafely) {
  const std::vector<std::uint8_t> full = WriteInstallRecord(PerItemRecord());
  for (std::size_t size = 0; size <= full.size(); ++size) {
    const InstallRecord read = ReadInstallRecord(full.data(), size);
    EXPECT_LE(read.items.size(), 2u);
    EXPECT_LE(read.links.size(), 1u);
  }
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::uint8_t> bytes(random() % 3000);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    const InstallRecord read = ReadInstallRecord(bytes.data(), bytes.size());
    EXPECT_LE((read.items.size() + read.links.size()) * 524, bytes.size() + 524);
  }
}

}  // namespace
