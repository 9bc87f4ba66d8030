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

TEST(SystemIdentityTest, Wow64MatchesNativeArchitecture) {
  SYSTEM_INFO native = {};
  GetNativeSystemInfo(&native);
  const bool nativeIs64Bit = native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                             native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64;
  EXPECT_EQ(isWow64() != FALSE, nativeIs64Bit);
}

}  // namespace
