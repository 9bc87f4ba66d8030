#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ProxyRecord.h"

namespace {

// A record as the installer writes it: flag, then UTF-16LE fields at fixed offsets.
class RecordBuilder {
 public:
  RecordBuilder() : m_bytes(tagProxyInfo::kRecordBytes, 0) {}

  RecordBuilder& Flag(std::uint32_t flag) {
    for (int i = 0; i < 4; ++i) m_bytes[i] = static_cast<unsigned char>(flag >> (8 * i));
    return *this;
  }
  RecordBuilder& Text(std::size_t offset, const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      m_bytes[offset + 2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
      m_bytes[offset + 2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
    }
    return *this;
  }
  tagProxyInfo Parse(std::size_t length = tagProxyInfo::kRecordBytes) const {
    return ParseProxyRecord(m_bytes.data(), length);
  }

 private:
  std::vector<unsigned char> m_bytes;
};

TEST(ProxyRecordTest, ReadsFlagAndFieldsAtTheirOffsets) {
  const tagProxyInfo proxy = RecordBuilder()
                                 .Flag(0x100)  // any non-zero flag, in little-endian order
                                 .Text(4, u"代理.example")
                                 .Text(204, u"8080")
                                 .Text(228, u"user")
                                 .Text(328, u"pass word")
                                 .Parse();
  EXPECT_TRUE(proxy.enabled);
  EXPECT_EQ(std::u16string(proxy.host), u"代理.example");
  EXPECT_EQ(std::u16string(proxy.port), u"8080");
  EXPECT_EQ(std::u16string(proxy.userName), u"user");
  EXPECT_EQ(std::u16string(proxy.password), u"pass word");

  EXPECT_FALSE(RecordBuilder().Flag(0).Text(4, u"host").Parse().enabled);
}

TEST(ProxyRecordTest, FieldsWithoutTerminatorAreCutInsideTheirField) {
  // Every field filled to its last unit: reading on would run into the next
  // field, and past the record for the password.
  const tagProxyInfo proxy = RecordBuilder()
                                 .Flag(1)
                                 .Text(4, std::u16string(100, u'h'))
                                 .Text(204, std::u16string(12, u'9'))
                                 .Text(228, std::u16string(50, u'u'))
                                 .Text(328, std::u16string(50, u'p'))
                                 .Parse();
  EXPECT_EQ(std::u16string(proxy.host), std::u16string(99, u'h'));
  EXPECT_EQ(std::u16string(proxy.port), std::u16string(11, u'9'));
  EXPECT_EQ(std::u16string(proxy.userName), std::u16string(49, u'u'));
  EXPECT_EQ(std::u16string(proxy.password), std::u16string(49, u'p'));
}

TEST(ProxyRecordTest, ShortOrMissingRecordMeansNoProxy) {
  RecordBuilder record;
  record.Flag(1).Text(4, u"host");
  const tagProxyInfo shortRecord = record.Parse(tagProxyInfo::kRecordBytes - 1);
  EXPECT_FALSE(shortRecord.enabled);
  EXPECT_EQ(shortRecord.host[0], u'\0');
  EXPECT_FALSE(ParseProxyRecord(nullptr, 0).enabled);
}

}  // namespace
