#include <gtest/gtest.h>

#include "RemovalRules.h"

namespace {

const std::vector<std::wstring> kSystemFolders = {L"C:\\windows", L"C:\\Program Files", L"C:\\users\\me",
                                                  L"C:\\users\\me\\Start Menu\\Programs",
                                                  L"C:\\users\\Public\\Desktop"};

TEST(RemovalRulesTest, FolderGetsExactlyOneTrailingBackslash) {
  EXPECT_EQ(WithTrailingBackslash(L"C:\\q\\sounds"), L"C:\\q\\sounds\\");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\q\\sounds\\"), L"C:\\q\\sounds\\");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\q\\sounds\\\\"), L"C:\\q\\sounds\\");
}

TEST(RemovalRulesTest, SystemFoldersRootsAndTheirAncestorsAreProtected) {
  for (const wchar_t* folder :
       {L"C:\\", L"c:", L"D:\\", L"\\\\server\\share\\", L"C:\\Windows\\", L"c:/program files/", L"C:\\users\\",
        L"C:\\Users\\ME", L"C:\\users\\me\\Start Menu\\Programs\\", L"C:\\users\\Public\\Desktop\\", L"",
        L"relative\\folder\\", L"\\rooted\\only\\", L"C:\\Program Files\\Quobly\\..\\"}) {
    EXPECT_TRUE(IsProtectedFolder(folder, kSystemFolders)) << folder;
  }
}

TEST(RemovalRulesTest, ProductFoldersInsideSystemFoldersMayGo) {
  for (const wchar_t* folder : {L"C:\\Program Files\\Quobly\\", L"C:\\users\\me\\Start Menu\\Programs\\Quobly\\",
                                L"C:\\Program Files Extra\\", L"\\\\server\\share\\Quobly\\", L"D:\\Quobly\\a..b\\"}) {
    EXPECT_FALSE(IsProtectedFolder(folder, kSystemFolders)) << folder;
  }
}

TEST(RemovalRulesTest, BatchCarriesOnlySafePaths) {
  EXPECT_TRUE(IsBatchSafePath(L"C:\\Program Files\\Tesk软件 & Co (x86)\\a.exe"));
  EXPECT_FALSE(IsBatchSafePath(L"C:\\evil\" & rd /s /q C:\\ & \"x"));
  EXPECT_FALSE(IsBatchSafePath(L"C:\\a\r\nrd C:\\"));
}

TEST(RemovalRulesTest, BatchTextInBothForms) {
  EXPECT_EQ(FormatSelfDeleteBatch(L"C:\\Q\\pvUninstall.exe", L"C:\\Program Files\\Q\\"),
            L"@ echo off\r\ntaskkill /im pvUninstall.exe /f\r\ndel \"C:\\Q\\pvUninstall.exe\"\r\n"
            L"rd /S /Q \"C:\\Program Files\\Q\\\"\r\ndel %0");
  EXPECT_EQ(FormatSelfDeleteBatch(L"C:\\Q\\pvUninstall.exe", L""),
            L"@ echo off\r\ntaskkill /im pvUninstall.exe /f\r\ndel \"C:\\Q\\pvUninstall.exe\"\r\ndel %0");
}

TEST(RemovalRulesTest, BatchDoublesPercentSignsAndLeavesOutEmptyPaths) {
  EXPECT_EQ(FormatSelfDeleteBatch(L"C:\\100%\\%PATH%.exe", L""),
            L"@ echo off\r\ntaskkill /im pvUninstall.exe /f\r\ndel \"C:\\100%%\\%%PATH%%.exe\"\r\ndel %0");
  EXPECT_EQ(FormatSelfDeleteBatch(L"", L""), L"@ echo off\r\ntaskkill /im pvUninstall.exe /f\r\ndel %0");
}

}  // namespace
