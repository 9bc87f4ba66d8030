// The engine run against what an attacker who can write the record file or
// the product's folders, or a damaged disk, would put there: in every case
// the product's own files go and everything else stays.
#include "UninstallFixture.h"

namespace {

using namespace uninstall_test;

class RemovalSafetyTest : public UninstallerTest {
 protected:
  // A file that must survive, with its content checked at the end.
  std::wstring Canary(const std::wstring& path) {
    SHCreateDirectoryExW(nullptr, path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
    EXPECT_TRUE(WriteBytes(path, "canary", 6)) << "cannot create canary";
    m_canaries.push_back(path);
    return path;
  }

  void ExpectCanariesIntact() const {
    for (const std::wstring& canary : m_canaries) {
      UniqueFileHandle file(
          CreateFileW(canary.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
      char text[8] = {};
      DWORD read = 0;
      if (file) ReadFile(file.Get(), text, 6, &read, nullptr);
      EXPECT_STREQ(text, "canary") << "lost: " << std::string(canary.begin(), canary.end());
    }
  }

  void TearDown() override {
    for (const std::wstring& canary : m_canaries) {
      if (canary.compare(0, m_root.size(), m_root) != 0) DeleteFileW(canary.c_str());
    }
    UninstallerTest::TearDown();
  }

  // A product in the program folder: files, a sub-folder, the start menu.
  void MakeProduct() {
    MakeFolderWithFiles(m_appDir + L"sounds", 3);
    MakeFile(m_appDir + L"Quobly.exe");
    MakeProductTraces();
  }

  void ExpectProductGone() {
    EXPECT_FALSE(Exists(m_appDir + L"sounds\\file0.txt"));
    EXPECT_FALSE(Exists(m_appDir + L"Quobly.exe"));
    ExpectProductTracesGone();
  }

  std::vector<std::wstring> m_canaries;
};

std::wstring WindowsFolder() {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  return windows;
}

std::wstring Documents() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// Entries naming another vendor's folder, a user's document or the system's
// files are not the product's, whatever the record says.
TEST_F(RemovalSafetyTest, ForeignFoldersFilesAndSystemFilesStay) {
  MakeProduct();
  const std::wstring vendor = m_outside + L"Other Vendor\\";
  Canary(vendor + L"app.exe");
  Canary(vendor + L"data\\save.dat");
  const std::wstring thesis = Canary(Documents() + L"\\thesis" + std::to_wstring(GetCurrentProcessId()) + L".docx");
  const std::wstring system = Canary(WindowsFolder() + L"\\quobly-canary" + std::to_wstring(GetCurrentProcessId()));
  m_record.items = {Item(0, vendor),
                    Item(1, thesis),
                    Item(1, system),
                    Item(0, WindowsFolder() + L"\\"),
                    Item(0, Documents() + L"\\"),
                    Item(1, m_appDir + L"Quobly.exe"),
                    Item(0, m_appDir + L"sounds\\")};
  m_record.links = {Item(1, thesis), Item(1, system), Item(1, vendor + L"app.exe")};

  Run();
  ExpectCanariesIntact();
  ExpectProductGone();
}

// Texts that Windows resolves to another place than they seem to name: the
// check is made on the resolved place. The same forms pointing into the
// product still remove it.
TEST_F(RemovalSafetyTest, PathFormsAreJudgedByWhatWindowsResolves) {
  MakeProduct();
  MakeFolderWithFiles(m_appDir + L"skins", 2);
  MakeFile(m_appDir + L"readme.txt");
  Canary(m_outside + L"music\\song.mp3");
  Canary(m_outside + L"notes.txt");
  const std::wstring outsideNoSlash = m_outside.substr(0, m_outside.size() - 1);
  std::vector<std::wstring> foreign = {
      m_appDir + L"..\\outside\\",                       // dot segments climb out of the product
      m_appDir + L"sounds\\..\\..\\outside\\notes.txt",  // the same for a file
      m_root + L"\\outside\\",                           // a doubled separator
      outsideNoSlash + L".\\",                           // a trailing dot Windows drops
      outsideNoSlash + L"...\\music\\",                  // trailing dots
      L"\\\\?\\" + m_outside,                            // the literal form
      L"\\\\?\\" + m_outside + L"notes.txt",
      L"\\\\localhost\\C$\\" + m_outside.substr(3),  // an administrative share of drive C
      L"\\\\.\\" + m_outside,                        // a device path
      WindowsFolder() + L".\\",                      // the system folder, dotted
      L"\\\\?\\" + WindowsFolder() + L"\\",
  };
  // An 8.3 name, as Wine makes them here (it makes none for some names).
  wchar_t shortName[MAX_PATH] = {};
  if (GetShortPathNameW(m_outside.c_str(), shortName, MAX_PATH) > 0 && shortName != m_outside) {
    foreign.push_back(shortName);
  }
  for (const std::wstring& path : foreign) {
    m_record.items.push_back(Item(0, path));
    m_record.items.push_back(Item(1, path + L"notes.txt"));
  }
  // Odd forms of the product's own folders remove them all the same.
  m_record.items.push_back(Item(0, L"\\\\?\\" + m_appDir + L"sounds\\"));
  m_record.items.push_back(Item(0, m_appDir + L"\\skins\\"));
  m_record.items.push_back(Item(1, m_appDir + L"sounds\\..\\readme.txt"));
  m_record.items.push_back(Item(1, m_appDir + L"Quobly.exe"));

  Run();
  ExpectCanariesIntact();
  EXPECT_FALSE(Exists(m_appDir + L"sounds"));
  EXPECT_FALSE(Exists(m_appDir + L"skins"));
  EXPECT_FALSE(Exists(m_appDir + L"readme.txt"));
  EXPECT_FALSE(Exists(m_appDir + L"Quobly.exe"));
}

// The product name and the menu folder become file names: with separators
// or dots they would name a file or folder anywhere.
TEST_F(RemovalSafetyTest, NamesWithSeparatorsRemoveNothingElsewhere) {
  MakeProduct();
  wchar_t desktop[MAX_PATH] = {};
  GetDesktopPath(desktop);
  // From the common desktop "..\Documents" is the public documents folder.
  const std::wstring name = L"q" + std::to_wstring(GetCurrentProcessId());
  const std::wstring publicShortcut = Canary(std::wstring(desktop) + L"\\..\\Documents\\" + name + L".lnk");
  const std::wstring menuVictim = Canary(ShellFolder(GetProgramsPath) + L"\\..\\" + name + L"\\keep.txt");
  SetRecordText(m_record.info.szProductName, U16(L"..\\Documents\\" + name));
  SetRecordText(m_record.info.szMenuFolder, U16(L"..\\" + name));
  m_record.items = {Item(0, m_appDir + L"sounds\\")};

  Run();
  ExpectCanariesIntact();
  RemoveDirectoryW(menuVictim.substr(0, menuVictim.find_last_of(L'\\')).c_str());
  EXPECT_TRUE(Exists(m_desktopShortcut));  // named for the product's real name, which the record no longer holds
  EXPECT_TRUE(Exists(m_menuFolder));
  EXPECT_FALSE(Exists(m_appDir + L"sounds"));
  DeleteFileW(m_desktopShortcut.c_str());
  RemoveTestTree(m_menuFolder);
}

// Whole-folder mode from a folder that is not the recorded install folder
// (a copy of the uninstaller in Downloads): that folder is not walked.
TEST_F(RemovalSafetyTest, WholeFolderModeWalksOnlyTheRecordedInstallFolder) {
  MakeProductTraces();
  Canary(m_appDir + L"holiday.jpg");
  Canary(m_appDir + L"photos\\beach.jpg");
  const std::wstring installDir = m_outside + L"Quobly\\";
  Canary(installDir + L"Quobly.exe");
  SetRecordText(m_record.info.szInstallDir, U16(installDir));

  Run();
  ExpectCanariesIntact();
  ExpectProductTracesGone();
}

// An install folder with no terminator inside its field may be the start of
// a longer path: nothing is walked, and the record is not read as per-item.
TEST_F(RemovalSafetyTest, UnterminatedInstallFolderRemovesNoFolder) {
  MakeProductTraces();
  Canary(m_appDir + L"data\\keep.txt");
  std::vector<std::uint8_t> bytes = WriteInstallRecord(m_record);
  const std::wstring installDir = m_appDir + std::wstring(200, L'x');
  for (size_t unit = 0; unit < 200; ++unit) {
    bytes[360 + 2 * unit] = static_cast<std::uint8_t>(installDir[unit] & 0xFF);
    bytes[360 + 2 * unit + 1] = static_cast<std::uint8_t>(installDir[unit] >> 8);
  }
  // What follows would be an item list naming the program folder in per-item mode.
  const std::vector<std::uint8_t> items = WriteInstallRecord(InstallRecord{{}, {Item(0, m_appDir)}, {}});
  bytes.insert(bytes.end(), items.begin() + 760, items.end());
  ASSERT_TRUE(WriteBytes(m_appDir + L"pvUninstall.dat", bytes.data(), bytes.size()));

  CPvUninstaller engine(m_appDir.c_str());
  engine.StartUninstall(nullptr, FALSE);
  ExpectCanariesIntact();
  ExpectProductTracesGone();
}

// Links inside the program folder, a sub-folder and the start-menu folder
// lead to the user's own files: the links are removed or kept, never
// followed, and what they lead to stays.
TEST_F(RemovalSafetyTest, LinksInTheProductAreNeverFollowed) {
  MakeProduct();
  const std::wstring collection = m_outside + L"My Sounds\\";
  Canary(collection + L"applause.mp3");
  Canary(collection + L"deep\\drums.mp3");
  const std::wstring song = Canary(m_outside + L"song.mp3");
  const std::wstring report = Canary(m_outside + L"report.lnk");
  MakeLink(collection, m_appDir + L"主持音效");
  MakeLink(song, m_appDir + L"song.mp3");
  MakeLink(collection, m_appDir + L"sounds\\linked");
  MakeLink(song, m_appDir + L"sounds\\linked.mp3");
  MakeLink(collection, m_menuFolder + L"\\linked");
  MakeLink(report, m_menuFolder + L"\\report.lnk");
  SetRecordText(m_record.info.szInstallDir, U16(m_appDir));
  m_record.links = {Item(1, m_appDir + L"song.mp3")};

  Run();
  ExpectCanariesIntact();
  EXPECT_FALSE(Exists(m_appDir + L"sounds\\file2.txt"));
  EXPECT_FALSE(Exists(m_appDir + L"Quobly.exe"));
  EXPECT_FALSE(Exists(m_menuFolder + L"\\Quobly.lnk"));
  EXPECT_FALSE(Exists(m_desktopShortcut));
  // Wine cannot remove a link without reaching what it leads to, so the
  // link stays, and the folder that holds it (Windows removes both).
  EXPECT_TRUE(Exists(m_menuFolder + L"\\linked"));
  RemoveUnixLink(m_menuFolder + L"\\linked");
  RemoveUnixLink(m_menuFolder + L"\\report.lnk");
  RemoveTestTree(m_menuFolder);
}

// What the installer made for the user to fill, replaced by the user with
// links (to an empty folder, to a settings file that holds no setting, even
// one inside the product): the links stay, and what they lead to.
TEST_F(RemovalSafetyTest, LinksInPlaceOfTheInstallersFoldersAndSettingsFileAreKept) {
  const std::wstring emptyCollection = m_outside + L"Empty Sounds";
  MakeFolderWithFiles(emptyCollection, 0);
  const std::wstring collection = m_outside + L"My Sounds\\";
  Canary(collection + L"applause.mp3");
  const std::wstring bindings = m_outside + L"bindings.ini";
  const std::wstring ownBindings = m_appDir + L"bindings.ini";
  ASSERT_TRUE(WriteBytes(bindings, "", 0));
  ASSERT_TRUE(WriteBytes(ownBindings, "", 0));
  MakeLink(emptyCollection, m_appDir + L"主持音效");
  MakeLink(collection, m_appDir + L"喊麦音效");
  MakeLink(bindings, m_appDir + L"音效配置.ini");
  MakeLink(ownBindings, m_appDir + L"其他配置.ini");
  m_record.items = {Item(2, m_appDir + L"主持音效\\"), Item(2, m_appDir + L"喊麦音效"),
                    Item(3, m_appDir + L"音效配置.ini"), Item(3, m_appDir + L"其他配置.ini")};

  Run();
  ExpectCanariesIntact();
  for (const std::wstring& kept : {emptyCollection, bindings, ownBindings, m_appDir + L"主持音效",
                                   m_appDir + L"喊麦音效", m_appDir + L"音效配置.ini", m_appDir + L"其他配置.ini"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
}

// The same in whole-folder mode, where the walk starts at the program folder.
TEST_F(RemovalSafetyTest, WholeFolderWalkNeverFollowsLinks) {
  MakeProduct();
  const std::wstring collection = m_outside + L"My Sounds\\";
  Canary(collection + L"applause.mp3");
  const std::wstring song = Canary(m_outside + L"song.mp3");
  MakeLink(collection, m_appDir + L"搞笑音效");
  MakeLink(song, m_appDir + L"sounds\\song.mp3");
  SetRecordText(m_record.info.szInstallDir, U16(m_appDir));

  Run();
  ExpectCanariesIntact();
  ExpectProductGone();
}

// A folder swapped for a link while the walk waits on its progress message:
// the walk opens each entry as itself and sees where it really leads.
TEST_F(RemovalSafetyTest, FolderSwappedForALinkDuringTheWalkIsNotFollowed) {
  MakeProductTraces();
  const std::wstring product = m_appDir + L"product\\";
  MakeFolderWithFiles(product + L"first", 3);
  MakeFolderWithFiles(product + L"second", 3);
  const std::wstring collection = m_outside + L"My Sounds\\";
  Canary(collection + L"applause.mp3");
  Canary(collection + L"file1.txt");
  m_record.items = {Item(0, product)};

  bool swapped = false;
  Run([&] {
    if (swapped) return;
    swapped = true;
    // The folder the walk has not reached yet becomes a link.
    const std::wstring waiting = Exists(product + L"first\\file0.txt") && Exists(product + L"first\\file1.txt") &&
                                         Exists(product + L"first\\file2.txt")
                                     ? product + L"first"
                                     : product + L"second";
    ASSERT_TRUE(MoveFileW(waiting.c_str(), (m_root + L"moved-away").c_str()));
    MakeLink(collection, waiting);
  });
  EXPECT_TRUE(swapped);
  ExpectCanariesIntact();
  ExpectProductTracesGone();
}

// Shortcuts are the product's only when they lead into it, and only in its
// start-menu folder and on the desktops: another product's shortcut stays
// wherever the record names it, and so does one of the product's own in a
// place of the user's choosing.
TEST_F(RemovalSafetyTest, OnlyShortcutsThatLeadIntoTheProductGoAndOnlyFromTheirPlaces) {
  MakeProduct();
  const std::wstring other = Canary(m_outside + L"Other Vendor\\other.exe");
  const std::wstring tag = std::to_wstring(GetCurrentProcessId());
  const std::wstring favourites = ShellFolder(CSIDL_FAVORITES) + L"\\";
  const struct {
    std::wstring path;
    std::wstring target;
  } kForeign[] = {
      {ShellFolder(GetDesktopPath) + L"\\Other" + tag + L".lnk", other},          // the common desktop
      {ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\Other" + tag + L".lnk", other},  // the user's desktop
      {m_menuFolder + L"\\Other.lnk", other},                                     // among the product's own
      {favourites + L"Ours" + tag + L".lnk", m_appDir + L"Quobly.exe"},           // not a place for them
      {m_outside + L"Ours.lnk", m_appDir + L"Quobly.exe"},
  };
  SHCreateDirectoryExW(nullptr, favourites.c_str(), nullptr);
  for (const auto& shortcut : kForeign) {
    ASSERT_TRUE(MakeShortcut(shortcut.path, shortcut.target));
    m_record.links.push_back(Item(1, shortcut.path));
  }
  const std::wstring url = favourites + L"Other" + tag + L".url";
  ASSERT_TRUE(MakeInternetShortcut(url, "https://example.com/"));
  m_record.links.push_back(Item(1, url));
  // The product name's desktop shortcut, made by another program.
  DeleteFileW(m_desktopShortcut.c_str());
  ASSERT_TRUE(MakeShortcut(m_desktopShortcut, other));

  Run();
  for (const auto& shortcut : kForeign) EXPECT_TRUE(Exists(shortcut.path)) << shortcut.path;
  EXPECT_TRUE(Exists(url));
  EXPECT_TRUE(Exists(m_desktopShortcut));
  EXPECT_FALSE(Exists(m_menuFolder + L"\\Quobly.lnk"));
  EXPECT_FALSE(Exists(m_menuFolder + L"\\卸载.lnk"));
  ExpectCanariesIntact();
  for (const auto& shortcut : kForeign) DeleteFileW(shortcut.path.c_str());
  DeleteFileW(url.c_str());
  DeleteFileW(m_desktopShortcut.c_str());
  RemoveTestTree(m_menuFolder);
}

// A record that names another product's start-menu folder and uninstall key
// takes neither: the folder holds no shortcut into this product, and the key
// names another install folder.
TEST_F(RemovalSafetyTest, AnotherProductsMenuFolderAndUninstallKeyStay) {
  MakeProduct();
  const std::wstring tag = std::to_wstring(GetCurrentProcessId());
  const std::wstring otherMenu = L"Other Product " + tag;
  const std::wstring otherKey = L"QuoblyOtherProduct" + tag;
  const std::wstring otherFolder = m_outside + L"Other Product\\";
  const std::wstring menu = ShellFolder(GetProgramsPath) + L"\\" + otherMenu;
  MakeFolderWithFiles(menu, 1);
  ASSERT_TRUE(MakeShortcut(menu + L"\\Other.lnk", Canary(otherFolder + L"other.exe")));
  MakeUninstallKey(otherKey, otherFolder);
  SetRecordText(m_record.info.szMenuFolder, U16(otherMenu));
  SetRecordText(m_record.info.szRegKey, U16(otherKey));

  Run();
  EXPECT_TRUE(Exists(menu + L"\\Other.lnk"));
  EXPECT_TRUE(Exists(menu + L"\\file0.txt"));
  UniqueRegKey key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + otherKey).c_str(), 0, KEY_READ, key.Put()),
            ERROR_SUCCESS);
  key.Reset();
  ExpectCanariesIntact();
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + otherKey).c_str());
  RemoveTestTree(menu);
}

// The product's own key goes through either value that names its folder.
TEST_F(RemovalSafetyTest, TheProductsKeyGoesWhenItNamesTheProgramFolder) {
  MakeProduct();
  for (const wchar_t* kept : {L"InstallLocation", L"UninstallString"}) {
    MakeUninstallKey(kRegKey, m_appDir);
    UniqueRegKey key;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + kRegKey).c_str(), 0, KEY_SET_VALUE, key.Put()),
        ERROR_SUCCESS);
    RegDeleteValueW(key.Get(), kept == std::wstring(L"InstallLocation") ? L"UninstallString" : L"InstallLocation");
    key.Reset();
    CPvUninstaller engine(m_appDir.c_str());
    WriteRecord();
    engine.StartUninstall(nullptr, FALSE);
    EXPECT_NE(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + kRegKey).c_str(), 0, KEY_READ, key.Put()),
        ERROR_SUCCESS)
        << kept;
  }
}

// A per-item record run from a folder of the user's: a folder entry naming
// that folder itself, in any form, takes nothing; entries below it go.
TEST_F(RemovalSafetyTest, PerItemFolderEntriesNeverTakeTheProgramFolderItself) {
  MakeFolderWithFiles(m_appDir + L"sounds", 2);
  Canary(m_appDir + L"photo.jpg");
  Canary(m_appDir + L"album\\holiday.jpg");
  m_record.items = {Item(0, m_appDir), Item(0, m_appDir.substr(0, m_appDir.size() - 1)),
                    Item(0, m_appDir + L"sounds\\..\\"), Item(0, m_appDir + L"sounds\\")};

  Run();
  ExpectCanariesIntact();
  EXPECT_FALSE(Exists(m_appDir + L"sounds"));
}

// A path on a network share is refused by its text: entries naming one take
// nothing there, and an uninstaller run from one reads no record. (Wine
// keeps "\\quobly-host\share" in the sandbox prefix.)
TEST_F(RemovalSafetyTest, NetworkPathsAreNeverTaken) {
  const std::wstring tag = std::to_wstring(GetCurrentProcessId());
  const std::wstring share = L"\\\\quobly-host\\share\\" + tag + L"\\";
  const std::wstring document = Canary(share + L"doc.txt");
  const std::wstring program = Canary(share + L"app\\Quobly.exe");
  MakeProduct();
  m_record.items = {Item(0, share), Item(1, document), Item(0, L"\\\\?\\UNC\\quobly-host\\share\\" + tag + L"\\"),
                    Item(0, L"//quobly-host/share/" + tag + L"/app/"), Item(1, m_appDir + L"Quobly.exe")};
  m_record.links = {Item(1, share + L"Other.lnk")};
  Run();
  ExpectCanariesIntact();
  EXPECT_FALSE(Exists(m_appDir + L"Quobly.exe"));

  // The same record beside an uninstaller on the share.
  m_appDir = share + L"app\\";
  m_record.items = {Item(0, m_appDir), Item(1, program)};
  Run();
  ExpectCanariesIntact();
  for (const std::wstring& path : {program, document, m_appDir + L"pvUninstall.dat"}) DeleteFileW(path.c_str());
  RemoveDirectoryW(m_appDir.c_str());
  RemoveDirectoryW(share.c_str());
}

}  // namespace
