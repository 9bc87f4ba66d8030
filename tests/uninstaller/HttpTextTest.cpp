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

TEST(HttpTextTest, OnlyGzipAndDeflateCountAsCompressed) {
  for (const wchar_t* encoding : {L"gzip", L"GZIP", L"Deflate", L"deflate"}) {
    EXPECT_TRUE(IsCompressedEncoding(encoding)) << encoding;
  }
  for (const wchar_t* encoding : {L"", L"identity", L"br", L"x-gzip", L"gzip, deflate", L"gzip "}) {
    EXPECT_FALSE(IsCompressedEncoding(encoding)) << encoding;
  }
}

}  // namespace
