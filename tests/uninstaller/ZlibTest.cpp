#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "PvZlib.h"
#include "ZlibTestSupport.h"

namespace {

TEST(PvZlibTest, DecodesOnlyWhileLoaded) {
  TestZlib zlib;
  ASSERT_TRUE(zlib.isLoaded());
  const std::string text = SampleText(100);
  const std::string gzip = zlib.Compress(text, TestZlib::Format::kGzip);
  const auto* input = reinterpret_cast<const BYTE*>(gzip.data());
  CPvZlib& wrapper = CPvZlib::Instance();

  ASSERT_EQ(wrapper.InitZlib(), S_OK);
  EXPECT_EQ(wrapper.InitZlib(), S_OK);
  BYTE* block = nullptr;
  DWORD length = 0;
  ASSERT_EQ(wrapper.DecodeGZipBuffer(input, static_cast<DWORD>(gzip.size()), &block, &length, 100000), S_OK);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block), length), text);
  std::free(block);

  wrapper.UninitZlib();
  BYTE sentinel = 0;
  block = &sentinel;
  length = 77;
  EXPECT_EQ(wrapper.DecodeGZipBuffer(input, static_cast<DWORD>(gzip.size()), &block, &length, 100000), E_FAIL);
  EXPECT_EQ(block, &sentinel);
  EXPECT_EQ(length, 77u);

  ASSERT_EQ(wrapper.InitZlib(), S_OK);
  ASSERT_EQ(wrapper.DecodeGZipBuffer(input, static_cast<DWORD>(gzip.size()), &block, &length, 10), S_OK);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block), length), text.substr(0, 10));
  std::free(block);
}

}  // namespace
