#include <gtest/gtest.h>

#include <string>

#include "PvDump.h"
#include "TestSupport.h"

namespace {

TEST(DumpTest, DumpIsANewFileAndFailureLeavesNone) {
  TempFolder folder;
  const std::wstring path = folder.Path() + L"test.exe_1234.dmp";
  ASSERT_TRUE(CpvDump::WriteDump(path.c_str(), nullptr));
  const std::string dump = ReadFileBytes(path);
  EXPECT_EQ(dump.substr(0, 4), "MDMP");

  // An existing file is never overwritten.
  EXPECT_FALSE(CpvDump::WriteDump(path.c_str(), nullptr));
  EXPECT_EQ(ReadFileBytes(path), dump);

  const std::wstring nowhere = folder.Path() + L"missing\\test.dmp";
  EXPECT_FALSE(CpvDump::WriteDump(nowhere.c_str(), nullptr));
  EXPECT_FALSE(Exists(nowhere));
}

TEST(DumpTest, FirstUseInstallsTheFilter) {
  // The instance installs itself once, on first use, for the whole process.
  CpvDump::Instance().Install(L"应用", L"tk_test_dump", tagCrashActions());
  LPTOP_LEVEL_EXCEPTION_FILTER current = SetUnhandledExceptionFilter(nullptr);
  EXPECT_EQ(current, &CpvDump::ExceptionFilter);
  SetUnhandledExceptionFilter(current);
}

}  // namespace
