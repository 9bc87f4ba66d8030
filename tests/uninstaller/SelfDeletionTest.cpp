// Whole-folder mode and the self-deletion batch, through a copy of the probe
// program that runs a whole uninstall and deletes itself.
#include "UninstallFixture.h"

#include "SelfDeleteBatch.h"

namespace {

using namespace uninstall_test;

class SelfDeletionTest : public UninstallerTest {
 protected:
  void SetUp() override {
    UninstallerTest::SetUp();
    for (const std::wstring& stale : SelfDeleteBatches()) DeleteFileW(stale.c_str());
  }

  // Runs the probe as the program `m_appDir`\pvUninstall.exe; its exit code.
  // The probe writes the console code page it ran in to
  // `m_outside`\codepage.txt.
  DWORD RunProbe() {
    const std::wstring program = m_appDir + L"pvUninstall.exe";
    EXPECT_TRUE(CopyFileW((ExecutableFolder() + L"uninstall_probe.exe").c_str(), program.c_str(), FALSE));
    WriteRecord();
    SetEnvironmentVariableW(L"QUOBLY_PROBE_REPORT", (m_outside + L"codepage.txt").c_str());
    const std::optional<DWORD> exitCode = RunToExit(program, std::wstring(), m_appDir, 30000);
    SetEnvironmentVariableW(L"QUOBLY_PROBE_REPORT", nullptr);
    EXPECT_TRUE(exitCode.has_value()) << "the probe did not start or did not end";
    return exitCode.value_or(1);
  }

  // The batch has run when it has deleted itself: its last line.
  bool BatchRan() const {
    return WaitUntil([] { return SelfDeleteBatches().empty(); }, 20000);
  }

  std::string ProbeCodePage() const {
    std::string text(16, '\0');
    UniqueFileHandle file(CreateFileW((m_outside + L"codepage.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    DWORD read = 0;
    if (file) ReadFile(file.Get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
    text.resize(read);
    return text;
  }

  // A whole-folder install in `folder`, which is the program folder.
  void InstallInto(const std::wstring& folder) {
    m_appDir = folder;
    MakeFolderWithFiles(m_appDir + L"sounds", 3);
    MakeFile(m_appDir + L"Quobly.exe");
    MakeProductTraces();
    SetRecordText(m_record.info.szInstallDir, U16(m_appDir));
  }
};

TEST_F(SelfDeletionTest, WholeFolderModeRemovesTheProgramFolderAndTheBatchItself) {
  InstallInto(m_root + L"安装目录\\");

  EXPECT_EQ(RunProbe(), 0u);
  EXPECT_TRUE(BatchRan()) << "the batch did not delete itself";
  EXPECT_FALSE(Exists(m_appDir)) << "program folder left";
  EXPECT_FALSE(Exists(m_menuFolder));
  EXPECT_FALSE(Exists(m_desktopShortcut));
  EXPECT_EQ(ProbeCodePage(), std::to_string(GetOEMCP()));
}

// The batch waits for this program's own process and ends none: another
// program of the same name, another user's uninstaller say, runs on.
TEST_F(SelfDeletionTest, AnotherProcessOfTheSameNameRunsOn) {
  InstallInto(m_root + L"安装目录\\");
  const std::wstring otherFolder = m_outside + L"other\\";
  ASSERT_TRUE(CreateDirectoryW(otherFolder.c_str(), nullptr));
  const std::wstring other = otherFolder + L"pvUninstall.exe";
  ASSERT_TRUE(CopyFileW((ExecutableFolder() + L"uninstall_probe.exe").c_str(), other.c_str(), FALSE));
  ChildProcess bystander;
  ASSERT_TRUE(bystander.Start(other, std::wstring(), otherFolder, CREATE_SUSPENDED));  // never runs a line

  EXPECT_EQ(RunProbe(), 0u);
  EXPECT_TRUE(BatchRan());
  EXPECT_FALSE(Exists(m_appDir));
  EXPECT_EQ(bystander.ExitCode(), DWORD{STILL_ACTIVE}) << "the batch ended another process of the same name";
  bystander.Kill();
  DeleteFileW(other.c_str());
  RemoveDirectoryW(otherFolder.c_str());
}

// In per-item mode the program folder goes only when the record asks for it
// once empty: the batch removes it after this program and its libraries,
// with rd alone, so that a file a user left there keeps it.
TEST_F(SelfDeletionTest, PerItemProgramFolderGoesOnlyWhenAskedAndEmpty) {
  const struct {
    const wchar_t* folder;
    bool asked;
    bool userFile;
  } kCases[] = {{L"安装目录\\", true, false}, {L"with user file\\", true, true}, {L"not asked\\", false, false}};
  for (const auto& install : kCases) {
    SCOPED_TRACE(install.folder);
    m_appDir = m_root + install.folder;
    MakeFolderWithFiles(m_appDir + L"主持音效", 0);
    MakeFile(m_appDir + L"Quobly.exe");
    if (install.userFile) MakeFile(m_appDir + L"我的笔记.txt");
    MakeProductTraces();
    m_record.items = {Item(1, m_appDir + L"Quobly.exe"), Item(1, m_appDir + L"pvUninstall.dat"),
                      Item(2, m_appDir + L"主持音效\\")};
    if (install.asked) m_record.items.push_back(Item(2, m_appDir));

    EXPECT_EQ(RunProbe(), 0u);
    EXPECT_TRUE(BatchRan());
    EXPECT_FALSE(Exists(m_appDir + L"pvUninstall.exe"));
    EXPECT_FALSE(Exists(m_appDir + L"主持音效"));
    EXPECT_EQ(Exists(m_appDir), !install.asked || install.userFile);
    if (install.userFile) {
      EXPECT_TRUE(Exists(m_appDir + L"我的笔记.txt"));
    }
    ExpectProductTracesGone();
  }
}

// A copy of the uninstaller run from another folder (Downloads, say) owns
// nothing there: whole-folder mode walks the recorded install folder only
// when that is where it runs, and the batch removes no folder.
TEST_F(SelfDeletionTest, WholeFolderModeRunFromAnotherFolderRemovesNothingThere) {
  const std::wstring installDir = m_root + L"installed\\";
  MakeFolderWithFiles(installDir + L"sounds", 2);
  MakeFolderWithFiles(m_appDir + L"my downloads", 2);
  MakeFile(m_appDir + L"thesis.docx");
  MakeProductTraces();
  SetRecordText(m_record.info.szInstallDir, U16(installDir));

  EXPECT_EQ(RunProbe(), 0u);
  EXPECT_TRUE(BatchRan());
  EXPECT_FALSE(Exists(m_appDir + L"pvUninstall.exe"));  // the uninstaller always deletes itself
  EXPECT_TRUE(Exists(m_appDir + L"thesis.docx"));
  EXPECT_TRUE(Exists(m_appDir + L"my downloads\\file1.txt"));
  EXPECT_TRUE(Exists(installDir + L"sounds\\file0.txt"));
  EXPECT_FALSE(Exists(m_menuFolder));  // the product's own traces still go
  EXPECT_FALSE(Exists(m_desktopShortcut));
}

// The batch in the console's code page, without best fit: on a Western
// system a full-width quote would otherwise become a real one and end the
// path's quotes, and the rest of the line would run as administrator. CTest
// runs these twice: in the Chinese locale (936) and, as
// uninstaller_batch_western, in a Western one (QUOBLY_EXPECT_OEMCP=437).
class BatchCodePageTest : public SelfDeletionTest {
 protected:
  void SetUp() override {
    SelfDeletionTest::SetUp();
    wchar_t expected[16] = {};
    if (GetEnvironmentVariableW(L"QUOBLY_EXPECT_OEMCP", expected, 16) > 0) {
      ASSERT_EQ(std::to_wstring(GetOEMCP()), expected) << "the test does not run in the code page meant";
    }
  }

  // 936 carries the full-width quote, the accent and the Chinese name; the
  // Western console code pages lack the quote and the Chinese characters.
  bool ChineseFits() const { return GetOEMCP() == 936; }

  void ExpectProbeRanInOurCodePage() const { EXPECT_EQ(ProbeCodePage(), std::to_string(GetOEMCP())); }
};

TEST_F(BatchCodePageTest, QuotesAndPercentSignsInjectNothing) {
  InstallInto(m_root + L"100%PATH% é＂ & mkdir pwned & ＂\\");
  EXPECT_EQ(RunProbe(), 0u);
  EXPECT_TRUE(BatchRan());
  ExpectProbeRanInOurCodePage();
  const bool injected = Exists(SelfDeleteBatchFolder() + L"pwned");
  RemoveDirectoryW((SelfDeleteBatchFolder() + L"pwned").c_str());
  EXPECT_FALSE(injected);
  EXPECT_FALSE(Exists(m_appDir + L"sounds"));  // the engine's part, whatever the code page
  // Where the name does not convert exactly, the lines naming it are left out.
  EXPECT_EQ(!Exists(m_appDir), ChineseFits());
}

TEST_F(BatchCodePageTest, ChineseNamesGoOnlyWhereTheCodePageCarriesThem) {
  InstallInto(m_root + L"音效助手\\");
  EXPECT_EQ(RunProbe(), 0u);
  EXPECT_TRUE(BatchRan());
  ExpectProbeRanInOurCodePage();
  EXPECT_FALSE(Exists(m_appDir + L"Quobly.exe"));
  EXPECT_EQ(!Exists(m_appDir), ChineseFits());
}

// The batch is a new file under a name no one can guess, never one planted
// beforehand, and no one else may write to it while it is written.
std::wstring NextTestName() {
  static int calls = 0;
  return ++calls == 1 ? L"planted.bat" : L"fresh" + std::to_wstring(calls) + L".bat";
}

std::wstring PlantedName() {
  return L"planted.bat";
}

TEST(SelfDeleteBatchTest, IsCreatedNewUnsharedForWritingAndNeverOverAPlantedFile) {
  TempFolder folder;
  const std::wstring planted = folder.Write(L"planted.bat", "echo planted");

  std::wstring path;
  UniqueFileHandle batch = CreateBatchFile(folder.Path(), NextTestName, path);
  ASSERT_TRUE(batch);
  EXPECT_EQ(path, folder.Path() + L"fresh2.bat");
  UniqueFileHandle writer(
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(writer) << "another writer got in while the batch was written";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  batch.Reset();

  std::wstring none;
  EXPECT_FALSE(CreateBatchFile(folder.Path(), PlantedName, none)) << "a planted name was reused";
  EXPECT_TRUE(none.empty());
  char text[16] = {};
  DWORD read = 0;
  UniqueFileHandle plantedFile(
      CreateFileW(planted.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ReadFile(plantedFile.Get(), text, sizeof text - 1, &read, nullptr);
  EXPECT_STREQ(text, "echo planted");

  const std::wstring name = RandomBatchName();
  EXPECT_EQ(name.size(), std::wstring(L"pvUninstall-0123456789abcdef.bat").size());
  EXPECT_NE(name, RandomBatchName());
}

}  // namespace
