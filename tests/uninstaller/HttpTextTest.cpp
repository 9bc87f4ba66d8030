#include <gtest/gtest.h>

#include "HttpText.h"

namespace {

TEST(HttpTextTest, SplitsHostAndPathAfterScheme) {
  tagUrlParts parts = SplitHttpUrl(L"http://example.com/report.asp?type=open&value=a/b");
  EXPECT_EQ(parts.host, L"example.com");
  EXPECT_EQ(parts.path, L"/report.asp?type=open&value=a/b");

  parts = SplitHttpUrl(L"http://example.com");
  EXPECT_EQ(parts.host, L"example.com");
  EXPECT_EQ(parts.path, L"/");

  parts = SplitHttpUrl(L"http://x/");
  EXPECT_EQ(parts.host, L"x");
  EXPECT_EQ(parts.path, L"/");
}

TEST(HttpTextTest, TooShortUrlGivesEmptyHost) {
  for (const wchar_t* url : {L"", L"http:/", L"http://"}) {
    const tagUrlParts parts = SplitHttpUrl(url);
    EXPECT_EQ(parts.host, L"") << url;
    EXPECT_EQ(parts.path, L"/") << url;
  }
}

TEST(HttpTextTest, HeaderBlockHasNoBlankAfterColons) {
  EXPECT_EQ(FormatRequestHeaders(L"report.example"),
            L"Accept:text/html,application/xml;q=0.9,application/json,*/*;q=0.8\r\n"
            L"Accept-Encoding:gzip,deflate\r\n"
            L"Accept-Language:zh-CN,zh;q=0.5\r\n"
            L"Accept-Charset:gb2312,utf-8;q=0.7,*;q=0.7\r\n"
            L"Host:report.example\r\n"
            L"User-Agent:Mozilla/5.0 (Windows NT 6.1)\r\n");
}

TEST(HttpTextTest, OnlyGzipAndDeflateCountAsCompressed) {
  for (const wchar_t* encoding : {L"gzip", L"GZIP", L"Deflate", L"deflate"}) {
    EXPECT_TRUE(IsCompressedEncoding(encoding)) << encoding;
  }
  for (const wchar_t* encoding : {L"", L"identity", L"br", L"x-gzip", L"gzip, deflate", L"gzip "}) {
    EXPECT_FALSE(IsCompressedEncoding(encoding)) << encoding;
  }
}

}  // namespace
