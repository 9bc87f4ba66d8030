#include <gtest/gtest.h>

#include <string>

#include "PvDump.h"
#include "TestSupport.h"
#include "UnixLinks.h"

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

  // A link at the name, even one leading nowhere yet, is a file there.
  TempFolder elsewhere;
  const std::wstring linked = folder.Path() + L"linked.dmp";
  ASSERT_TRUE(MakeUnixLink(elsewhere.Path() + L"target.dmp", linked));
  EXPECT_FALSE(CpvDump::WriteDump(linked.c_str(), nullptr));
  EXPECT_FALSE(Exists(elsewhere.Path() + L"target.dmp"));
  EXPECT_TRUE(RemoveUnixLink(linked));
}

// Dumps go to "CrashDumps" in the user's own local application data, made
// when missing; never through anything else that stands at that name.
TEST(DumpTest, DumpFolderIsAPlainFolderOfTheUsersOwn) {
  enum class There { kNothing, kFolder, kFile, kLink, kNoBase, kNoPath };
  const struct {
    const char* name;
    There there;
    bool used;
  } kCases[] = {{"nothing yet", There::kNothing, true},    {"a folder", There::kFolder, true},
                {"a file", There::kFile, false},           {"a link", There::kLink, false},
                {"no base folder", There::kNoBase, false}, {"no path", There::kNoPath, false}};
  for (const auto& test : kCases) {
    SCOPED_TRACE(test.name);
    TempFolder localAppData;
    TempFolder elsewhere;
    std::wstring base = localAppData.Path();
    base.pop_back();  // as the shell gives it, without a trailing backslash
    const std::wstring folder = base + L"\\CrashDumps";
    switch (test.there) {
      case There::kFolder:
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        break;
      case There::kFile:
        localAppData.Write(L"CrashDumps", "");
        break;
      case There::kLink:
        ASSERT_TRUE(MakeUnixLink(elsewhere.Path(), folder));
        break;
      case There::kNoBase:
        base += L"\\missing";
        break;
      case There::kNoPath:
        base.clear();
        break;
      case There::kNothing:
        break;
    }

    const std::wstring prepared = CpvDump::PrepareDumpFolder(base);
    EXPECT_EQ(prepared, test.used ? folder + L"\\" : L"");
    if (test.used) {
      EXPECT_EQ(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD{FILE_ATTRIBUTE_DIRECTORY});
    }
    if (test.there == There::kLink) {
      EXPECT_TRUE(RemoveUnixLink(folder));
    }
    if (test.there == There::kNoBase) {
      EXPECT_FALSE(Exists(base));
    }
  }
}

TEST(DumpTest, FirstUseInstallsTheFilter) {
  // The instance installs itself once, on first use, for the whole process.
  CpvDump::Instance().Install(L"应用", L"tk_test_dump", tagCrashActions());
  LPTOP_LEVEL_EXCEPTION_FILTER current = SetUnhandledExceptionFilter(nullptr);
  EXPECT_EQ(current, &CpvDump::ExceptionFilter);
  SetUnhandledExceptionFilter(current);
}

}  // namespace
