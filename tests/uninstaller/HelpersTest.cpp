#include <gtest/gtest.h>

#include <string>

#include "PvHelpers.h"
#include "TestSupport.h"

namespace {

TEST(PathHelpersTest, ProgramFolderEndsWithBackslash) {
  wchar_t path[MAX_PATH + 1];
  GetCurPath(path);
  EXPECT_EQ(std::wstring(path), ExecutableFolder());
}

TEST(PathHelpersTest, ShellFoldersAreAbsoluteWithoutTrailingBackslash) {
  for (BOOL (*lookUp)(wchar_t*) : {GetProgramsPath, GetDesktopPath}) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(lookUp(path));
    const std::wstring folder(path);
    ASSERT_GT(folder.size(), 3u);
    EXPECT_EQ(folder[1], L':');
    EXPECT_NE(folder.back(), L'\\');
  }
}

// WOW64 is a 32-bit process on a 64-bit system; a 64-bit process never is.
TEST(SystemIdentityTest, Wow64MatchesNativeArchitecture) {
  SYSTEM_INFO native = {};
  GetNativeSystemInfo(&native);
  const bool nativeIs64Bit = native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                             native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64;
  const bool processIs32Bit = sizeof(void*) == 4;
  EXPECT_EQ(isWow64() != FALSE, processIs32Bit && nativeIs64Bit);
}

TEST(UrlEncodeTest, EncodesWideTextInPlaceAsUtf8) {
  wchar_t text[1024] = L"A&B 软件";
  EXPECT_EQ(URLEncode(text), 1);
  EXPECT_STREQ(text, L"A%26B%20%e8%bd%af%e4%bb%b6");
}

TEST(UrlEncodeTest, LeavesTextUnchangedWhenEncodingDoesNotFit) {
  wchar_t text[1024];
  wcscpy_s(text, std::wstring(341, L' ').c_str());
  EXPECT_EQ(URLEncode(text), 1);
  std::wstring spaces;
  for (int i = 0; i < 341; ++i) spaces += L"%20";
  EXPECT_EQ(std::wstring(text), spaces);

  const std::wstring tooLong = std::wstring(340, L' ') + L"软";  // 1020 + 9 characters
  wcscpy_s(text, tooLong.c_str());
  EXPECT_EQ(URLEncode(text), 0);
  EXPECT_EQ(std::wstring(text), tooLong);
}

}  // namespace
