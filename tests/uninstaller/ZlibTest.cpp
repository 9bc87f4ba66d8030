#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "PvZlib.h"
#include "ZlibTestSupport.h"

namespace {

// The uninstaller's decoder over the linked zlib: whole replies, replies cut
// at the buffer, and broken ones, which give nothing.
TEST(PvZlibTest, DecodesThroughTheLinkedZlib) {
  TestZlib zlib;
  const std::string text = SampleText(100);
  const std::string gzip = zlib.Compress(text, TestZlib::Format::kGzip);
  const std::string broken = gzip.substr(0, 10) + std::string(gzip.size() - 10, '\x55');
  struct Case {
    const std::string& input;
    DWORD maxOutput;
    HRESULT result;
    std::string output;
  };
  for (const Case& c : {Case{gzip, 100000, S_OK, text}, Case{gzip, 10, S_OK, text.substr(0, 10)},
                        Case{broken, 100000, E_FAIL, std::string()}}) {
    BYTE sentinel = 0;
    BYTE* block = &sentinel;
    DWORD length = 77;
    EXPECT_EQ(CPvZlib::Instance().DecodeGZipBuffer(reinterpret_cast<const BYTE*>(c.input.data()),
                                                   static_cast<DWORD>(c.input.size()), &block, &length, c.maxOutput),
              c.result);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), length), c.output) << c.maxOutput;
    if (c.result == E_FAIL) {
      EXPECT_EQ(block, nullptr);
    }
    std::free(block);
  }
}

}  // namespace
