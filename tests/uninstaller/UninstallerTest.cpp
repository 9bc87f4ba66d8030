#include "UninstallFixture.h"

#include <atomic>
#include <filesystem>

#include "SettingsText.h"

namespace {

using namespace uninstall_test;

TEST_F(UninstallerTest, PerItemRecordRemovesEverythingWithProgress) {
  const std::wstring folder = m_appDir + L"product\\sounds\\";
  MakeFolderWithFiles(folder, 8);
  MakeFile(m_appDir + L"product\\a.exe");
  MakeFile(m_appDir + L"product\\b.dll");
  const std::wstring extra =
      ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\extra" + std::to_wstring(GetCurrentProcessId()) + L".lnk";
  ASSERT_TRUE(MakeShortcut(extra, m_appDir + L"product\\a.exe"));
  MakeProductTraces();
  m_record.items = {Item(1, m_appDir + L"product\\a.exe"), Item(0, folder), Item(1, m_appDir + L"product\\b.dll")};
  m_record.links = {Item(1, extra)};

  const ProgressLog log = Run();

  // The folder walk: 8 of the 10 counted files; then the end of the work,
  // posted, which closes the gap.
  const std::vector<Progress> expected = {{10, true}, {20, true}, {30, true}, {40, true},  {50, true},
                                          {60, true}, {70, true}, {80, true}, {100, false}};
  EXPECT_EQ(log.messages, expected);
  // The walk's messages come while the work still goes on.
  EXPECT_FALSE(log.finishedAtMessage[7]);
  EXPECT_TRUE(log.finishedAtMessage.back());

  EXPECT_FALSE(Exists(folder));
  EXPECT_FALSE(Exists(m_appDir + L"product\\a.exe"));
  EXPECT_FALSE(Exists(m_appDir + L"product\\b.dll"));
  EXPECT_FALSE(Exists(extra));
  ExpectProductTracesGone();
}

TEST_F(UninstallerTest, PercentsAboveHundredAreDropped) {
  const std::wstring folder = m_appDir + L"product\\";
  MakeFolderWithFiles(folder, 1);
  MakeProductTraces();  // two more files in the start-menu folder than counted
  m_record.items = {Item(0, folder)};

  const ProgressLog log = Run();
  EXPECT_EQ(log.messages, (std::vector<Progress>{{100, true}, {100, false}}));
  EXPECT_FALSE(Exists(m_menuFolder));
}

TEST_F(UninstallerTest, DotNamedFolderAndItsParentSurvive) {
  const std::wstring folder = m_appDir + L"product\\";
  MakeFolderWithFiles(folder + L".config", 1);
  MakeFolderWithFiles(folder + L"data", 2);
  m_record.items = {Item(0, folder)};

  Run();
  EXPECT_TRUE(Exists(folder + L".config\\file0.txt"));
  EXPECT_FALSE(Exists(folder + L"data"));
  EXPECT_TRUE(Exists(folder));
}

TEST_F(UninstallerTest, FolderItemWithoutBackslashIsRemovedWhole) {
  const std::wstring folder = m_appDir + L"product";
  MakeFolderWithFiles(folder + L"\\sub", 2);
  MakeFile(m_appDir + L"productsub-not-ours.txt");
  m_record.items = {Item(0, folder)};

  const ProgressLog log = Run();
  EXPECT_FALSE(Exists(folder));
  EXPECT_TRUE(Exists(m_appDir + L"productsub-not-ours.txt"));
  EXPECT_EQ(log.messages.front(), Progress(50, true));
}

TEST_F(UninstallerTest, EmptyNamesNeverReachTheSystemsOwnFolders) {
  const std::wstring marker = ShellFolder(GetProgramsPath) + L"\\QuoblyEngineMarker.txt";
  MakeFile(marker);
  SetRecordText(m_record.info.szMenuFolder, u"");
  SetRecordText(m_record.info.szRegKey, u"");
  m_record.items = {Item(0, L"C:\\"), Item(0, ShellFolder(GetDesktopPath))};

  const ProgressLog log = Run();
  EXPECT_TRUE(Exists(marker));
  DeleteFileW(marker.c_str());
  UniqueRegKey key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, key.Put()), ERROR_SUCCESS);
  EXPECT_EQ(log.messages, std::vector<Progress>{Progress(100, false)});
}

TEST_F(UninstallerTest, ReadOnlyFileStaysAndRunGoesOn) {
  const std::wstring folder = m_appDir + L"product\\";
  MakeFolderWithFiles(folder, 3);
  SetFileAttributesW((folder + L"file1.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  m_record.items = {Item(0, folder)};

  const ProgressLog log = Run();
  EXPECT_TRUE(Exists(folder + L"file1.txt"));
  EXPECT_FALSE(Exists(folder + L"file0.txt"));
  EXPECT_FALSE(Exists(folder + L"file2.txt"));
  EXPECT_EQ(log.messages.back(), Progress(100, false));
  SetFileAttributesW((folder + L"file1.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(UninstallerTest, ChineseNamesAndLongPathsAreRemoved) {
  const std::wstring folder = m_appDir + L"音效助手\\";
  MakeFolderWithFiles(folder + L"主持音效", 0);
  MakeFile(folder + L"主持音效\\掌声.mp3");
  const std::wstring longName = folder + std::wstring(259 - folder.size() - 4, L'长') + L".txt";
  ASSERT_EQ(longName.size(), 259u);
  MakeFile(longName);
  m_record.items = {Item(0, folder)};

  Run();
  EXPECT_FALSE(Exists(folder));
}

// What the installer made for the user to fill goes only as the user left
// it: a folder only when empty (never its contents, not even an empty folder
// of the user's), the settings file only while it holds no setting. Items
// listed before their folder go first; the program folder, still holding the
// record, stays; an item of another kind than recorded stays.
TEST_F(UninstallerTest, InstallersFoldersAndSettingsFilesGoOnlyAsTheUserLeftThem) {
  const std::wstring unfilled = m_appDir + L"主持音效\\";
  const std::wstring filled = m_appDir + L"喊麦音效\\";
  const std::wstring nested = m_appDir + L"搞笑音效\\";
  MakeFolderWithFiles(unfilled, 0);
  MakeFile(unfilled + L"示例.mp3");
  MakeFolderWithFiles(filled, 0);
  MakeFile(filled + L"我的 音效.mp3");
  MakeFolderWithFiles(nested + L"mine", 0);
  MakeFile(m_appDir + L"notes.txt");
  MakeFolderWithFiles(m_appDir + L"folder.ini", 0);
  MakeProductTraces();
  m_record.items = {Item(1, unfilled + L"示例.mp3"),
                    Item(2, unfilled),
                    Item(2, filled),
                    Item(2, nested),
                    Item(2, m_appDir + L"notes.txt"),
                    Item(3, m_appDir + L"folder.ini")};

  const std::string section = "[\xc8\xc8\xbc\xfc]\r\n";  // [热键]
  const struct {
    const wchar_t* name;
    std::string text;
    bool removed;
  } kSettings[] = {
      {L"empty.ini", "", true},
      {L"cleared.ini", "\r\n" + section + "; \xd7\xa2\xca\xcd\r\n\r\n", true},
      {L"bound.ini", section + "F1\xbc\xfc=C:\\Quobly\\a.mp3\r\n", false},
      {L"large.ini", std::string(kMaxSettingsBytes + 1, '\n'), false},
  };
  for (const auto& settings : kSettings) {
    ASSERT_TRUE(WriteBytes(m_appDir + settings.name, settings.text.data(), settings.text.size()));
    m_record.items.push_back(Item(3, m_appDir + settings.name));
  }
  m_record.items.push_back(Item(2, m_appDir));

  const ProgressLog log = Run();
  // Each item counts as one, and none is a folder walked.
  EXPECT_EQ(log.messages, (std::vector<Progress>{{100, false}}));
  EXPECT_FALSE(Exists(unfilled));
  EXPECT_TRUE(Exists(filled + L"我的 音效.mp3"));
  EXPECT_TRUE(Exists(nested + L"mine"));
  EXPECT_TRUE(Exists(m_appDir + L"notes.txt"));
  EXPECT_TRUE(Exists(m_appDir + L"folder.ini"));
  for (const auto& settings : kSettings) {
    EXPECT_EQ(Exists(m_appDir + settings.name), !settings.removed) << settings.name;
    if (!settings.removed) {
      EXPECT_EQ(ReadFileBytes(m_appDir + settings.name), settings.text) << settings.name;
    }
  }
  EXPECT_TRUE(Exists(m_appDir + L"pvUninstall.dat"));
  ExpectProductTracesGone();
}

// A settings file that another program has open for writing may change at
// any moment: it stays.
TEST_F(UninstallerTest, SettingsFileOpenForWritingStays) {
  const std::wstring settings = m_appDir + L"音效配置.ini";
  ASSERT_TRUE(WriteBytes(settings, "", 0));
  m_record.items = {Item(3, settings)};
  {
    const UniqueFileHandle writer(CreateFileW(settings.c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    Run();
    EXPECT_TRUE(Exists(settings));
  }
  Run();
  EXPECT_FALSE(Exists(settings));
}

TEST_F(UninstallerTest, MissingRecordRemovesNothingAndEnds) {
  MakeProductTraces();
  CPvUninstaller engine(m_appDir.c_str());
  engine.StartUninstall(nullptr, FALSE);
  EXPECT_TRUE(engine.isFinished());
  EXPECT_TRUE(Exists(m_menuFolder));
  EXPECT_TRUE(Exists(m_desktopShortcut));
  DeleteFileW((m_menuFolder + L"\\Quobly.lnk").c_str());
  DeleteFileW((m_menuFolder + L"\\卸载.lnk").c_str());
  RemoveDirectoryW(m_menuFolder.c_str());
  DeleteFileW(m_desktopShortcut.c_str());
}

// The fault run: whatever the file system does, the removal removes what it
// can, goes on past what it cannot, and ends with its final 100.

// Opens a file without delete sharing on a thread of its own and holds it
// until destroyed, as another program using the file would.
class FileLocker {
 public:
  explicit FileLocker(const std::wstring& path)
      : m_path(path),
        m_opened(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        m_release(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        m_thread(CreateThread(nullptr, 0, Hold, this, 0, nullptr)) {
    WaitForSingleObject(m_opened.Get(), 5000);
  }
  ~FileLocker() {
    SetEvent(m_release.Get());
    WaitForSingleObject(m_thread.Get(), 5000);
  }
  bool Locked() const { return m_locked; }

 private:
  static DWORD WINAPI Hold(void* param) {
    auto* self = static_cast<FileLocker*>(param);
    UniqueFileHandle file(CreateFileW(self->m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    self->m_locked = static_cast<bool>(file);
    SetEvent(self->m_opened.Get());
    WaitForSingleObject(self->m_release.Get(), INFINITE);
    return 0;
  }

  std::wstring m_path;
  std::atomic<bool> m_locked{false};
  UniqueKernelHandle m_opened;
  UniqueKernelHandle m_release;
  UniqueKernelHandle m_thread;  // last: started once everything it uses exists
};

TEST_F(UninstallerTest, LockedFilesStayAndEverythingElseGoes) {
  const std::wstring folder = m_appDir + L"product\\";
  MakeFolderWithFiles(folder + L"sounds", 4);
  MakeFolderWithFiles(folder + L"skins", 2);
  MakeFile(m_appDir + L"product.exe");
  MakeFile(m_appDir + L"extra.lnk");
  MakeProductTraces();
  m_record.items = {Item(0, folder), Item(1, m_appDir + L"product.exe")};
  m_record.links = {Item(1, m_appDir + L"extra.lnk")};

  {
    const FileLocker lockedInFolder(folder + L"sounds\\file2.txt");
    const FileLocker lockedItem(m_appDir + L"product.exe");
    const FileLocker lockedLink(m_appDir + L"extra.lnk");
    ASSERT_TRUE(lockedInFolder.Locked() && lockedItem.Locked() && lockedLink.Locked());

    const ProgressLog log = Run();
    EXPECT_EQ(log.messages.back(), Progress(100, false));
    EXPECT_TRUE(Exists(folder + L"sounds\\file2.txt"));
    EXPECT_TRUE(Exists(m_appDir + L"product.exe"));
    EXPECT_TRUE(Exists(m_appDir + L"extra.lnk"));
  }
  // The rest went, and so did everything outside the locked files' folders.
  EXPECT_FALSE(Exists(folder + L"sounds\\file1.txt"));
  EXPECT_FALSE(Exists(folder + L"skins"));
  ExpectProductTracesGone();
}

TEST_F(UninstallerTest, ReadOnlyItemsAndFoldersEndTheRunAsUsual) {
  const std::wstring folder = m_appDir + L"product\\";
  MakeFolderWithFiles(folder + L"locked-down", 2);
  MakeFile(m_appDir + L"readme.txt");
  SetFileAttributesW((folder + L"locked-down\\file0.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW((folder + L"locked-down").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW((m_appDir + L"readme.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  MakeProductTraces();
  m_record.items = {Item(1, m_appDir + L"readme.txt"), Item(0, folder)};

  const ProgressLog log = Run();
  EXPECT_EQ(log.messages.back(), Progress(100, false));
  EXPECT_TRUE(Exists(folder + L"locked-down\\file0.txt"));
  EXPECT_FALSE(Exists(folder + L"locked-down\\file1.txt"));
  EXPECT_TRUE(Exists(m_appDir + L"readme.txt"));
  EXPECT_FALSE(Exists(m_menuFolder));
  for (const std::wstring& path :
       {folder + L"locked-down\\file0.txt", folder + L"locked-down", m_appDir + L"readme.txt"}) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(UninstallerTest, FoldersThatVanishDuringTheWalkEndTheRunAsUsual) {
  const std::wstring folder = m_appDir + L"product\\";
  for (const wchar_t* name : {L"a", L"b", L"c", L"d"}) MakeFolderWithFiles(folder + name + L"\\deeper", 3);
  MakeProductTraces();
  m_record.items = {Item(0, folder)};

  // At the first file deleted, another program removes every sub-folder it
  // can: those still to come vanish (the one being walked is held open by
  // the walk's search).
  int vanished = 0;
  int messages = 0;
  const ProgressLog log = Run([&] {
    if (++messages > 1) return;
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"}) {
      std::error_code ignored;
      std::filesystem::remove_all(folder + name, ignored);
      vanished += !Exists(folder + name);
    }
  });
  EXPECT_GE(vanished, 2);
  EXPECT_EQ(log.messages.back(), Progress(100, false));
  for (size_t i = 1; i < log.messages.size(); ++i) EXPECT_GE(log.messages[i].first, log.messages[i - 1].first);
  ExpectProductTracesGone();
}

// The record cut at every length inside the first folder's path and at the
// edges of its records: the engine never reaches the folders around the
// product, and every run ends.
TEST_F(UninstallerTest, RecordCutAtAnyLengthRemovesNothingBeyondTheProduct) {
  const std::wstring product = m_appDir + L"games\\quobly\\";
  m_record.items = {Item(1, product + L"quobly.exe"), Item(0, product + L"sounds\\")};
  m_record.links = {Item(1, product + L"quobly.lnk")};
  const std::vector<std::uint8_t> full = WriteInstallRecord(m_record);
  const size_t folderPath = 760 + 4 + 524 + 4;
  std::vector<size_t> cuts = {
      0,          1, 200, 359, 360, 759, 760, 763, 764, 765, 1000, folderPath - 1, full.size() - 524, full.size() - 1,
      full.size()};
  for (size_t cut = folderPath; cut <= folderPath + 2 * (product.size() + 8); ++cut) cuts.push_back(cut);
  std::sort(cuts.begin(), cuts.end());  // the whole record last

  Stopwatch clock;
  for (size_t cut : cuts) {
    SCOPED_TRACE(cut);
    MakeFolderWithFiles(product + L"sounds", 2);
    MakeFile(product + L"quobly.exe");
    MakeFile(product + L"quobly.lnk");
    MakeFile(product + L"settings.ini");
    MakeFile(m_appDir + L"games\\other-game.exe");
    ASSERT_TRUE(WriteBytes(m_appDir + L"pvUninstall.dat", full.data(), cut));

    CPvUninstaller engine(m_appDir.c_str());
    engine.StartUninstall(nullptr, FALSE);
    EXPECT_TRUE(engine.isFinished());
    EXPECT_TRUE(Exists(product + L"settings.ini"));
    EXPECT_TRUE(Exists(m_appDir + L"games\\other-game.exe"));
  }
  // The whole record still removes what it names.
  EXPECT_FALSE(Exists(product + L"sounds"));
  EXPECT_FALSE(Exists(product + L"quobly.exe"));
  std::printf("%zu cut records run through the engine in %lld ms\n", cuts.size(), clock.ElapsedMs());
}

}  // namespace
