#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "GzipDecode.h"
#include "ZlibTestSupport.h"

namespace {

// What InflateBounded produced, the block freed on destruction.
struct Decoded {
  bool ok = false;
  std::unique_ptr<unsigned char, decltype(&std::free)> block{nullptr, &std::free};
  std::size_t length = 0;

  std::string Text() const { return std::string(reinterpret_cast<const char*>(block.get()), length); }
};

Decoded Decode(const tagZlibInflateApi& zlib, const std::string& input, std::size_t maxOutput) {
  Decoded result;
  unsigned char* block = nullptr;
  result.ok = InflateBounded(zlib, reinterpret_cast<const unsigned char*>(input.data()), input.size(), maxOutput,
                             &block, &result.length);
  result.block.reset(block);
  return result;
}

// A stand-in inflater that never ends: it fills every window it is given, as
// a stream of a few kilobytes expanding to gigabytes would for a long time.
struct EndlessInflater {
  static int calls;
  static unsigned largestWindow;
  static int ends;

  static int Init(z_streamp, int, const char*, int) { return Z_OK; }
  static int Inflate(z_streamp stream, int) {
    ++calls;
    largestWindow = std::max(largestWindow, stream->avail_out);
    for (; stream->avail_out > 0; --stream->avail_out) *stream->next_out++ = 'z';
    return Z_OK;
  }
  static int End(z_streamp) { return ++ends, Z_OK; }
};
int EndlessInflater::calls = 0;
unsigned EndlessInflater::largestWindow = 0;
int EndlessInflater::ends = 0;

TEST(InflateBoundedTest, EndlessStreamStopsWhenOutputIsFull) {
  tagZlibInflateApi endless;
  endless.inflateInit2_ = EndlessInflater::Init;
  endless.inflate = EndlessInflater::Inflate;
  endless.inflateEnd = EndlessInflater::End;

  const Decoded decoded = Decode(endless, "tiny input", 10000);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.Text(), std::string(10000, 'z'));
  EXPECT_EQ(EndlessInflater::calls, 3);  // 4096 + 4096 + 1808
  EXPECT_EQ(EndlessInflater::largestWindow, 4096u);
  EXPECT_EQ(EndlessInflater::ends, 1);
}

TEST(InflateBoundedTest, StreamAskingForDictionaryFails) {
  tagZlibInflateApi needsDictionary;
  needsDictionary.inflateInit2_ = [](z_streamp, int, const char*, int) { return Z_OK; };
  needsDictionary.inflate = [](z_streamp, int) { return Z_NEED_DICT; };
  needsDictionary.inflateEnd = [](z_streamp) { return Z_OK; };
  const Decoded decoded = Decode(needsDictionary, "x", 100);
  EXPECT_FALSE(decoded.ok);
  EXPECT_EQ(decoded.block, nullptr);
  EXPECT_FALSE(Decode(tagZlibInflateApi(), "x", 100).ok);
}

class InflateWithZlibTest : public testing::Test {
 protected:
  TestZlib m_zlib;
};

TEST_F(InflateWithZlibTest, DecodesGzipAndZlibStreams) {
  const std::string text = SampleText(3000);  // about 90 KB: many windows
  for (TestZlib::Format format : {TestZlib::Format::kGzip, TestZlib::Format::kZlib}) {
    const Decoded decoded = Decode(m_zlib.InflateApi(), m_zlib.Compress(text, format), 1 << 20);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.Text(), text);
  }
}

TEST_F(InflateWithZlibTest, LongStreamIsCutAtTheLimit) {
  const std::string text = SampleText(3000);
  const Decoded decoded = Decode(m_zlib.InflateApi(), m_zlib.Compress(text, TestZlib::Format::kGzip), 5000);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.Text(), text.substr(0, 5000));
}

TEST_F(InflateWithZlibTest, BrokenOrUnfinishedStreamFails) {
  const std::string text = SampleText(3000);
  const std::string gzip = m_zlib.Compress(text, TestZlib::Format::kGzip);
  std::string corrupt = gzip;
  corrupt[corrupt.size() / 2] ^= 0x55;
  std::string wrongChecksum = gzip;
  wrongChecksum[wrongChecksum.size() - 6] ^= 0x01;
  for (const std::string& input :
       {gzip.substr(0, gzip.size() / 2), corrupt, wrongChecksum, std::string("plain\0text", 10), std::string()}) {
    const Decoded decoded = Decode(m_zlib.InflateApi(), input, 1 << 20);
    EXPECT_FALSE(decoded.ok);
    EXPECT_EQ(decoded.block, nullptr);
    EXPECT_EQ(decoded.length, 0u);
  }
}

}  // namespace
