#include <gtest/gtest.h>

#include "RemovalRules.h"

namespace {

const std::vector<std::wstring> kSystemFolders = {L"C:\\windows", L"C:\\Program Files", L"C:\\users\\me",
                                                  L"C:\\users\\me\\Start Menu\\Programs",
                                                  L"C:\\users\\Public\\Desktop"};

std::wstring Comparable(const wchar_t* path) {
  return ComparablePath(path).value_or(L"<none>");
}

TEST(RemovalRulesTest, FolderGetsExactlyOneTrailingBackslash) {
  EXPECT_EQ(WithTrailingBackslash(L"C:\\q\\sounds"), L"C:\\q\\sounds\\");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\q\\sounds\\"), L"C:\\q\\sounds\\");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\q\\sounds\\\\"), L"C:\\q\\sounds\\");
}

TEST(RemovalRulesTest, ResolvedPathsCompareInOneForm) {
  EXPECT_EQ(Comparable(L"C:\\Program Files\\Quobly\\"), L"C:\\PROGRAM FILES\\QUOBLY");
  EXPECT_EQ(Comparable(L"c:/program files/quobly"), L"C:\\PROGRAM FILES\\QUOBLY");
  EXPECT_EQ(Comparable(L"\\\\?\\C:\\Program Files\\Quobly"), L"C:\\PROGRAM FILES\\QUOBLY");
  EXPECT_EQ(Comparable(L"\\\\?\\UNC\\server\\share\\Quobly\\"), L"\\\\SERVER\\SHARE\\QUOBLY");
  EXPECT_EQ(Comparable(L"\\\\server\\share\\Quobly"), L"\\\\SERVER\\SHARE\\QUOBLY");
  EXPECT_EQ(Comparable(L"C:\\"), L"C:");
  EXPECT_EQ(Comparable(L"D:\\音效\\a..b"), L"D:\\音效\\A..B");
}

// Forms whose place only Windows can tell (or that alias another place) are
// never taken at their word: they compare as nothing.
TEST(RemovalRulesTest, UncertainFormsHaveNoComparableForm) {
  for (const wchar_t* path :
       {L"", L"relative\\folder", L"\\rooted\\only", L"C:relative", L"\\\\localhost\\C$\\Program Files\\Quobly",
        L"\\\\?\\UNC\\localhost\\C$\\Windows", L"\\\\127.0.0.1\\ADMIN$\\", L"\\\\.\\C:\\Windows",
        L"\\\\?\\Volume{5b2d1a3c-0000-0000-0000-100000000000}\\Windows", L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1",
        L"C:\\PROGRA~1\\Quobly", L"C:\\Program Files\\QUOBLY~2", L"C:\\windows.\\", L"C:\\windows \\system32",
        L"C:\\a\\\\b", L"C:\\a\\.\\b", L"C:\\Program Files\\Quobly\\..", L"\\\\server", L"\\\\server\\"}) {
    EXPECT_FALSE(ComparablePath(path).has_value()) << path;
  }
}

TEST(RemovalRulesTest, SystemFoldersRootsTheirAncestorsAndTheirAliasesAreProtected) {
  for (const wchar_t* folder :
       {L"C:\\", L"c:", L"D:\\", L"\\\\server\\share\\", L"C:\\Windows\\", L"c:/program files/", L"C:\\users\\",
        L"C:\\Users\\ME", L"C:\\users\\me\\Start Menu\\Programs\\", L"C:\\users\\Public\\Desktop\\", L"",
        L"relative\\folder\\", L"\\rooted\\only\\", L"C:\\Program Files\\Quobly\\..\\", L"\\\\?\\C:\\Windows\\",
        L"\\\\localhost\\C$\\", L"\\\\localhost\\C$\\Windows", L"C:\\PROGRA~1\\", L"C:\\windows.\\"}) {
    EXPECT_TRUE(IsProtectedFolder(folder, kSystemFolders)) << folder;
  }
  for (const wchar_t* folder : {L"C:\\Program Files\\Quobly\\", L"C:\\users\\me\\Start Menu\\Programs\\Quobly\\",
                                L"C:\\Program Files Extra\\", L"\\\\server\\share\\Quobly\\", L"D:\\Quobly\\a..b\\"}) {
    EXPECT_FALSE(IsProtectedFolder(folder, kSystemFolders)) << folder;
  }
}

TEST(RemovalRulesTest, PlainFileNamesStayInTheirFolder) {
  for (const wchar_t* name : {L"Quobly", L"Quobly 音效", L"Tesk软件 (x86)", L"a.b.c", L"...name"}) {
    EXPECT_TRUE(IsPlainFileName(name)) << name;
  }
  for (const wchar_t* name : {L"",      L".",     L"..",       L"..\\..\\Documents\\thesis",
                              L"a\\b",  L"a/b",   L"C:x",      L"a*",
                              L"a?",    L"a\"b",  L"a<b",      L"a|b",
                              L"name.", L"name ", L"CON",      L"con.txt",
                              L"NUL",   L"LPT1",  L"com9.lnk", L"a\tb"}) {
    EXPECT_FALSE(IsPlainFileName(name)) << name;
  }
  EXPECT_TRUE(IsShortcutFile(L"C:\\USERS\\PUBLIC\\DESKTOP\\QUOBLY.LNK"));
  EXPECT_TRUE(IsShortcutFile(L"C:\\x\\site.url"));
  EXPECT_FALSE(IsShortcutFile(L"C:\\x\\thesis.docx"));
  EXPECT_FALSE(IsShortcutFile(L"lnk"));
}

class RemovalPolicyTest : public testing::Test {
 protected:
  const std::wstring kProduct = L"C:\\PROGRAM FILES\\QUOBLY";
  const std::wstring kMenu = L"C:\\USERS\\ME\\START MENU\\PROGRAMS\\QUOBLY";
  const std::wstring kDesktop = L"C:\\USERS\\PUBLIC\\DESKTOP";
  RemovalPolicy m_policy{{L"C:\\Program Files\\Quobly\\"},
                         kSystemFolders,
                         {L"C:\\users\\me\\Start Menu\\Programs\\Quobly", L"C:\\users\\Public\\Desktop\\"}};
};

// A folder tree goes only below what the product owns; the owned folder
// itself only as a whole (the whole-folder mode), never as an entry of a
// per-item record.
TEST_F(RemovalPolicyTest, TreesAndFilesOnlyInsideWhatTheProductOwns) {
  EXPECT_TRUE(m_policy.MayRemove(Removal::kOwnedFolder, kProduct));
  EXPECT_FALSE(m_policy.MayRemove(Removal::kFolderTree, kProduct));
  EXPECT_TRUE(m_policy.MayRemove(Removal::kFolderTree, kProduct + L"\\SOUNDS"));
  EXPECT_FALSE(m_policy.MayRemove(Removal::kOwnedFolder, kProduct + L"\\SOUNDS"));
  EXPECT_TRUE(m_policy.MayRemove(Removal::kFile, kProduct + L"\\QUOBLY.EXE"));

  EXPECT_FALSE(m_policy.MayRemove(Removal::kFile, kProduct));  // an owned folder is no file
  for (const std::wstring& outside :
       {std::wstring(L"C:\\PROGRAM FILES"), std::wstring(L"C:\\PROGRAM FILES\\OTHER VENDOR"),
        std::wstring(L"C:\\PROGRAM FILES\\QUOBLY2"), std::wstring(L"C:\\USERS\\ME\\DOCUMENTS\\THESIS.DOCX"),
        std::wstring(L"C:\\WINDOWS\\SYSTEM32\\KERNEL32.DLL"), std::wstring(L"C:\\USERS\\ME\\START MENU\\PROGRAMS"),
        std::wstring(L"C:"), kMenu, kMenu + L"\\QUOBLY.LNK", kMenu + L"\\SUB", kDesktop + L"\\NOTES.TXT"}) {
    for (Removal kind : {Removal::kOwnedFolder, Removal::kFolderTree, Removal::kFile, Removal::kSettingsFile}) {
      EXPECT_FALSE(m_policy.MayRemove(kind, outside)) << outside;
    }
  }
}

// What the installer made for the user to fill is judged by its place as a
// folder tree or a file is, and never through a link, even an owned one.
TEST_F(RemovalPolicyTest, InstallersFoldersAndSettingsFileOnlyInsideTheProductAndNeverThroughLinks) {
  const struct {
    Removal kind;
    std::wstring path;
    bool allowed;
  } kCases[] = {
      {Removal::kEmptyFolder, kProduct, true},
      {Removal::kEmptyFolder, kProduct + L"\\主持音效", true},
      {Removal::kEmptyFolder, kMenu, true},
      {Removal::kEmptyFolder, kDesktop, false},
      {Removal::kEmptyFolder, L"C:\\PROGRAM FILES", false},
      {Removal::kEmptyFolder, L"C:\\PROGRAM FILES\\QUOBLY2", false},
      {Removal::kEmptyFolder, L"C:\\USERS\\ME\\START MENU\\PROGRAMS", false},
      {Removal::kEmptyFolder, L"C:", false},
      {Removal::kSettingsFile, kProduct + L"\\音效配置.INI", true},
      {Removal::kSettingsFile, kProduct, false},
      {Removal::kSettingsFile, L"C:\\USERS\\ME\\DESKTOP.INI", false},
      {Removal::kSettingsFile, L"C:\\PROGRAM FILES\\QUOBLY2\\音效配置.INI", false},
  };
  for (const auto& entry : kCases) {
    EXPECT_EQ(m_policy.MayRemove(entry.kind, entry.path), entry.allowed) << entry.path;
    EXPECT_EQ(m_policy.MayRemoveOpened(entry.kind, entry.path, entry.path), entry.allowed) << entry.path;
    EXPECT_FALSE(m_policy.MayRemoveOpened(entry.kind, entry.path, kProduct + L"\\LINKED")) << entry.path;
  }
}

// A shortcut goes from the places for shortcuts, directly in them, and only
// when it leads into the product; one of the product's own files goes as a
// file does.
TEST_F(RemovalPolicyTest, ShortcutsOnlyFromTheirPlacesAndOnlyWhenTheyLeadIntoTheProduct) {
  const std::optional<std::wstring> ours = kProduct + L"\\QUOBLY.EXE";
  const struct {
    std::wstring path;
    std::optional<std::wstring> target;
    bool allowed;
  } kCases[] = {
      {kDesktop + L"\\QUOBLY.LNK", ours, true},
      {kMenu + L"\\卸载 QUOBLY.LNK", kProduct + L"\\PVUNINSTALL.EXE", true},
      {kMenu + L"\\SITE.URL", ours, true},
      {kDesktop + L"\\OTHER.LNK", std::wstring(L"C:\\PROGRAM FILES\\OTHER\\OTHER.EXE"), false},
      {kDesktop + L"\\OTHER.LNK", std::wstring(L"C:\\PROGRAM FILES\\QUOBLY2\\Q.EXE"), false},
      {kDesktop + L"\\OTHER.LNK", std::nullopt, false},
      {kDesktop + L"\\QUOBLY.LNK", kProduct, true},  // to the product's folder
      {kMenu + L"\\SUB\\QUOBLY.LNK", ours, false},   // not directly in the place
      {L"C:\\USERS\\ME\\FAVORITES\\QUOBLY.URL", ours, false},
      {L"D:\\LINKS\\QUOBLY.LNK", ours, false},
      {kDesktop + L"\\NOTES.TXT", ours, false},
      {kProduct + L"\\README.TXT", std::nullopt, true},
      {kProduct + L"\\HELP.LNK", std::wstring(L"C:\\WINDOWS\\HH.EXE"), true},
  };
  for (const auto& entry : kCases) {
    EXPECT_EQ(m_policy.MayRemoveShortcut(entry.path, entry.target), entry.allowed) << entry.path;
  }
}

// An uninstaller run from a folder that is not the recorded install folder
// owns nothing there, yet its shortcuts still lead into it: they go, and
// nothing in the folder does.
TEST(RemovalPolicyOwnershipTest, ShortcutsIntoTheProgramFolderGoWhenNothingIsOwned) {
  const RemovalPolicy policy({}, kSystemFolders, {L"C:\\users\\Public\\Desktop"}, L"D:\\Downloads\\Quobly\\");
  EXPECT_TRUE(policy.MayRemoveShortcut(L"C:\\USERS\\PUBLIC\\DESKTOP\\QUOBLY.LNK",
                                       std::wstring(L"D:\\DOWNLOADS\\QUOBLY\\QUOBLY.EXE")));
  EXPECT_FALSE(
      policy.MayRemoveShortcut(L"C:\\USERS\\PUBLIC\\DESKTOP\\OTHER.LNK", std::wstring(L"D:\\DOWNLOADS\\OTHER.EXE")));
  EXPECT_FALSE(policy.MayRemove(Removal::kFile, L"D:\\DOWNLOADS\\QUOBLY\\QUOBLY.EXE"));
  // A program folder that is a protected one leads nowhere of the product's.
  const RemovalPolicy onDesktop({}, kSystemFolders, {L"C:\\users\\Public\\Desktop"}, L"C:\\users\\me");
  EXPECT_FALSE(onDesktop.MayRemoveShortcut(L"C:\\USERS\\PUBLIC\\DESKTOP\\QUOBLY.LNK",
                                           std::wstring(L"C:\\USERS\\ME\\QUOBLY.EXE")));
}

TEST_F(RemovalPolicyTest, OpenedObjectsThatLeadElsewhereStayUnlessWhereTheyLeadIsOwned) {
  const std::wstring link = kProduct + L"\\SOUNDS\\MINE";
  EXPECT_TRUE(m_policy.MayRemoveOpened(Removal::kFile, link, link));
  EXPECT_FALSE(m_policy.MayRemoveOpened(Removal::kFile, link, L"Z:\\HOME\\ME\\MUSIC\\SONG.MP3"));
  EXPECT_TRUE(m_policy.MayRemoveOpened(Removal::kFile, link, kProduct + L"\\SOUNDS\\A.MP3"));
  // A folder reached through a link is never walked, even an owned one.
  EXPECT_FALSE(m_policy.MayRemoveOpened(Removal::kFolderTree, link, kProduct + L"\\DATA"));
  EXPECT_FALSE(m_policy.MayRemoveOpened(Removal::kFolderTree, link, L"C:\\USERS\\ME\\MUSIC"));
  EXPECT_FALSE(m_policy.MayRemoveOpened(Removal::kShortcut, kDesktop + L"\\QUOBLY.LNK",
                                        L"C:\\USERS\\ME\\DOCUMENTS\\THESIS.DOCX"));
}

TEST(RemovalPolicyOwnershipTest, ProtectedOrUncertainFoldersAreNeverOwned) {
  const RemovalPolicy policy({L"C:\\Program Files\\", L"C:\\users", L"C:\\", L"\\\\localhost\\C$\\Quobly",
                              L"C:\\PROGRA~1\\Quobly", L"relative\\Quobly", L""},
                             kSystemFolders);
  EXPECT_TRUE(policy.OwnedFolders().empty());
  EXPECT_FALSE(policy.MayRemove(Removal::kFile, L"C:\\PROGRAM FILES\\X.EXE"));
}

// A 32-bit program on 64-bit Windows is told "C:\Program Files (x86)" for
// the program-files folder; the 64-bit one, read from the 64-bit registry
// view, is protected all the same, and so is what holds either.
TEST(RemovalPolicyOwnershipTest, BothProgramFilesFoldersAreProtectedWhicheverTheProgramIsTold) {
  const std::vector<std::vector<std::wstring>> kProtectedLists = {
      {L"C:\\Program Files (x86)", L"C:\\Program Files"},  // as the 32-bit build lists them
      {L"C:\\Program Files", L"C:\\Program Files (x86)"},  // as the 64-bit build does
  };
  for (const std::vector<std::wstring>& protectedFolders : kProtectedLists) {
    const RemovalPolicy policy({L"C:\\Program Files", L"C:\\Program Files (x86)\\", L"c:/program files/"},
                               protectedFolders);
    EXPECT_TRUE(policy.OwnedFolders().empty());
    for (const wchar_t* folder : {L"C:\\Program Files\\Quobly", L"C:\\Program Files (x86)\\Quobly"}) {
      const RemovalPolicy product({folder}, protectedFolders);
      EXPECT_EQ(product.OwnedFolders().size(), 1u) << folder;
    }
  }
}

// Network and device paths are refused by their text alone.
TEST(RemovalRulesTest, OnlyLocalDrivePathsAreLookedUp) {
  for (const wchar_t* path : {L"C:\\Quobly", L"d:/音效/", L"\\\\?\\C:\\Quobly"}) {
    EXPECT_TRUE(IsDrivePath(path)) << path;
  }
  for (const wchar_t* path :
       {L"\\\\server\\share\\Quobly", L"//server/share/Quobly", L"\\\\?\\UNC\\server\\share\\Quobly",
        L"\\\\.\\C:\\Quobly", L"\\\\?\\GLOBALROOT\\Device\\Mup\\server\\share", L"\\??\\C:\\Quobly", L"C:Quobly",
        L"\\Quobly", L"", L"C:"}) {
    EXPECT_FALSE(IsDrivePath(path)) << path;
  }
}

TEST(RemovalRulesTest, UninstallCommandNamesItsProgram) {
  const struct {
    const wchar_t* command;
    const wchar_t* program;
  } kCases[] = {
      {L"\"C:\\Program Files\\Quobly\\pvUninstall.exe\"", L"C:\\Program Files\\Quobly\\pvUninstall.exe"},
      {L"  \"D:\\Q\\pvUninstall.exe\" /S", L"D:\\Q\\pvUninstall.exe"},
      {L"C:\\Program Files\\Quobly\\pvUninstall.EXE /S", L"C:\\Program Files\\Quobly\\pvUninstall.EXE"},
      {L"\"C:\\unterminated\\pvUninstall.exe", L""},
      {L"rundll32 something", L""},
      {L"", L""},
  };
  for (const auto& entry : kCases) EXPECT_EQ(UninstallProgram(entry.command), entry.program) << entry.command;
}

TEST(RemovalRulesTest, BatchCarriesOnlySafePaths) {
  EXPECT_TRUE(IsBatchSafePath(L"C:\\Program Files\\Tesk软件 & Co (x86)\\a.exe"));
  EXPECT_FALSE(IsBatchSafePath(L"C:\\evil\" & rd /s /q C:\\ & \"x"));
  EXPECT_FALSE(IsBatchSafePath(L"C:\\a\r\nrd C:\\"));
}

// The batch waits for this process by its id and file name, a bounded
// number of rounds, and ends nothing; then it deletes by name.
TEST(RemovalRulesTest, BatchWaitsForThisProcessAndDeletesByName) {
  const std::wstring wait =
      L"@ echo off\r\nset /a round=0\r\n:wait\r\nset /a round+=1\r\n"
      L"\"C:\\windows\\system32\\tasklist.exe\" /nh /fi \"PID eq 4242\" /fi \"IMAGENAME eq pvUninstall.exe\" | "
      L"\"C:\\windows\\system32\\find.exe\" \" 4242 \" >nul\r\n"
      L"if not errorlevel 1 if %round% lss 60 goto wait\r\n"
      L"del \"C:\\Q\\pvUninstall.exe\"\r\n"
      L"if exist \"C:\\Q\\pvUninstall.exe\" if %round% lss 60 goto wait\r\n";
  EXPECT_EQ(
      FormatSelfDeleteBatch(L"C:\\windows\\system32", 4242, L"C:\\Q\\pvUninstall.exe", {L"C:\\Q\\zlib1.dll"}, L"C:\\Q"),
      wait + L"del \"C:\\Q\\zlib1.dll\"\r\nrd \"C:\\Q\"\r\ndel %0");
  EXPECT_EQ(FormatSelfDeleteBatch(L"C:\\windows\\system32", 4242, L"C:\\Q\\pvUninstall.exe", {}, L""),
            wait + L"del %0");
  const std::wstring batch = FormatSelfDeleteBatch(L"C:\\w", 7, L"C:\\Q\\pvUninstall.exe", {}, L"");
  for (const wchar_t* never : {L"taskkill", L"/im "}) {
    EXPECT_EQ(batch.find(never), std::wstring::npos) << never;
  }
}

// Without the program's path the wait is by id alone, with no deletion to
// retry; without the system folder there is no wait.
TEST(RemovalRulesTest, BatchLeavesOutTheWaitPartsItHasNoPathFor) {
  EXPECT_EQ(FormatSelfDeleteBatch(L"C:\\w", 12, L"", {L"C:\\Q\\zlib1.dll"}, L""),
            L"@ echo off\r\nset /a round=0\r\n:wait\r\nset /a round+=1\r\n"
            L"\"C:\\w\\tasklist.exe\" /nh /fi \"PID eq 12\" | \"C:\\w\\find.exe\" \" 12 \" >nul\r\n"
            L"if not errorlevel 1 if %round% lss 60 goto wait\r\n"
            L"del \"C:\\Q\\zlib1.dll\"\r\ndel %0");
  EXPECT_EQ(FormatSelfDeleteBatch(L"", 12, L"C:\\Q\\pvUninstall.exe", {}, L"C:\\Q"),
            L"@ echo off\r\ndel \"C:\\Q\\pvUninstall.exe\"\r\nrd \"C:\\Q\"\r\ndel %0");
}

TEST(RemovalRulesTest, BatchDoublesPercentSignsAndLeavesOutEmptyPaths) {
  EXPECT_EQ(FormatSelfDeleteBatch(L"C:\\%w%", 5, L"C:\\100%\\%PATH%.exe", {L""}, L"C:\\100%"),
            L"@ echo off\r\nset /a round=0\r\n:wait\r\nset /a round+=1\r\n"
            L"\"C:\\%%w%%\\tasklist.exe\" /nh /fi \"PID eq 5\" /fi \"IMAGENAME eq %%PATH%%.exe\" | "
            L"\"C:\\%%w%%\\find.exe\" \" 5 \" >nul\r\n"
            L"if not errorlevel 1 if %round% lss 60 goto wait\r\n"
            L"del \"C:\\100%%\\%%PATH%%.exe\"\r\n"
            L"if exist \"C:\\100%%\\%%PATH%%.exe\" if %round% lss 60 goto wait\r\n"
            L"rd \"C:\\100%%\"\r\ndel %0");
  EXPECT_EQ(FormatSelfDeleteBatch(L"", 0, L"", {}, L""), L"@ echo off\r\ndel %0");
}

}  // namespace
