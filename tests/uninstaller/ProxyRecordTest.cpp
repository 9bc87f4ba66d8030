#include <gtest/gtest.h>

#include <string>

#include "ProxyRecord.h"
#include "ProxyRecordBuilder.h"

namespace {

tagProxyInfo Parse(const ProxyRecordBuilder& record, std::size_t length = tagProxyInfo::kRecordBytes) {
  return ParseProxyRecord(record.Bytes().data(), length);
}

// The login fields after the port are the installer's; none is read.
TEST(ProxyRecordTest, ReadsFlagAndFieldsAtTheirOffsets) {
  const tagProxyInfo proxy = Parse(ProxyRecordBuilder()
                                       .Flag(0x100)  // any non-zero flag, in little-endian order
                                       .Text(ProxyRecordBuilder::kHost, u"代理.example")
                                       .Text(ProxyRecordBuilder::kPort, u"8080")
                                       .Text(ProxyRecordBuilder::kUserName, u"user")
                                       .Text(ProxyRecordBuilder::kPassword, u"pass word"));
  EXPECT_TRUE(proxy.enabled);
  EXPECT_EQ(std::u16string(proxy.host), u"代理.example");
  EXPECT_EQ(std::u16string(proxy.port), u"8080");

  EXPECT_FALSE(Parse(ProxyRecordBuilder().Flag(0).Text(ProxyRecordBuilder::kHost, u"host")).enabled);
}

TEST(ProxyRecordTest, FieldsWithoutTerminatorAreCutInsideTheirField) {
  // Every field filled to its last unit: reading on would run into the next
  // field.
  const tagProxyInfo proxy = Parse(ProxyRecordBuilder()
                                       .Flag(1)
                                       .Text(ProxyRecordBuilder::kHost, std::u16string(100, u'h'))
                                       .Text(ProxyRecordBuilder::kPort, std::u16string(12, u'9'))
                                       .Text(ProxyRecordBuilder::kUserName, std::u16string(50, u'u'))
                                       .Text(ProxyRecordBuilder::kPassword, std::u16string(50, u'p')));
  EXPECT_EQ(std::u16string(proxy.host), std::u16string(99, u'h'));
  EXPECT_EQ(std::u16string(proxy.port), std::u16string(11, u'9'));
}

TEST(ProxyRecordTest, ShortOrMissingRecordMeansNoProxy) {
  const tagProxyInfo shortRecord =
      Parse(ProxyRecordBuilder().Flag(1).Text(ProxyRecordBuilder::kHost, u"host"), tagProxyInfo::kRecordBytes - 1);
  EXPECT_FALSE(shortRecord.enabled);
  EXPECT_EQ(shortRecord.host[0], u'\0');
  EXPECT_FALSE(ParseProxyRecord(nullptr, 0).enabled);
}

}  // namespace
