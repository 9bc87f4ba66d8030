// The engine's test bed: a scratch install under the prefix's temporary
// folder and the machine-wide traces of a product, for tests that let the
// uninstaller delete (they run in the sandbox prefix only).
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Handles.h"
#include "InstallRecord.h"
#include "PvHelpers.h"
#include "PvUninstaller.h"
#include "SystemPlaces.h"
#include "TestSupport.h"
#include "UnixLinks.h"

namespace uninstall_test {

inline constexpr wchar_t kRegKey[] = L"QuoblyEngineTest";
inline constexpr wchar_t kProduct[] = L"引擎测试 Engine";
inline constexpr wchar_t kMenu[] = L"QuoblyEngineTest";

// Where the uninstaller writes its self-deletion batch.
inline std::wstring SelfDeleteBatchFolder() {
  wchar_t windows[MAX_PATH] = {};
  GetSystemWindowsDirectoryW(windows, MAX_PATH);
  return std::wstring(windows) + L"\\Temp\\";
}

// Self-deletion batches the uninstaller left in the Windows folder's Temp:
// none once a batch has run, since each deletes itself.
inline std::vector<std::wstring> SelfDeleteBatches() {
  std::vector<std::wstring> found;
  WIN32_FIND_DATAW entry;
  UniqueFindHandle search(FindFirstFileW((SelfDeleteBatchFolder() + L"pvUninstall-*.bat").c_str(), &entry));
  if (!search) return found;
  do {
    found.push_back(SelfDeleteBatchFolder() + entry.cFileName);
  } while (FindNextFileW(search.Get(), &entry));
  return found;
}

// Removes a test's folder tree without entering a folder link (one left by a
// test that failed early is removed as a link).
inline void RemoveTestTree(const std::wstring& folder) {
  const std::wstring dir = folder.back() == L'\\' ? folder : folder + L'\\';
  WIN32_FIND_DATAW entry;
  UniqueFindHandle search(FindFirstFileW((dir + L"*").c_str(), &entry));
  if (search) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      SetFileAttributesW((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveUnixLink(dir + name);
      } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTestTree(dir + name);
      } else {
        DeleteFileW((dir + name).c_str());
      }
    } while (FindNextFileW(search.Get(), &entry));
  }
  search.Reset();
  RemoveDirectoryW(dir.c_str());
}

inline void MakeFile(const std::wstring& path) {
  ASSERT_TRUE(WriteBytes(path, "x", 1)) << "cannot create file";
}

inline void MakeFolderWithFiles(const std::wstring& folder, int files) {
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  for (int i = 0; i < files; ++i) MakeFile(folder + L"\\file" + std::to_wstring(i) + L".txt");
}

inline tagUninstallItem Item(std::int32_t kind, const std::wstring& path) {
  tagUninstallItem item = {};
  item.nKind = kind;
  SetRecordText(item.szPath, U16(path));
  return item;
}

// One progress message: its percent, and whether the walk sent it (true) or
// the end of the work posted it.
using Progress = std::pair<int, bool>;

struct ProgressLog {
  std::vector<Progress> messages;
  std::vector<bool> finishedAtMessage;
  const CPvUninstaller* engine = nullptr;
  std::function<void()> onMessage;  // runs while the walk waits for the reply
};

inline LRESULT CALLBACK ProgressProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_UNINSTALL_PROGRESS) {
    auto* log = reinterpret_cast<ProgressLog*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    log->messages.emplace_back(static_cast<int>(wParam), InSendMessage() != FALSE);
    log->finishedAtMessage.push_back(log->engine->isFinished());
    if (log->onMessage) log->onMessage();
    return 0;
  }
  return DefWindowProcW(wnd, message, wParam, lParam);
}

// A scratch install under the prefix's temporary folder, with the record
// file in its own "app" folder, plus the machine-wide traces of a product.
class UninstallerTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_root = std::wstring(temp) + L"QuoblyEngine" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    m_appDir = m_root + L"app\\";
    m_outside = m_root + L"outside\\";
    SHCreateDirectoryExW(nullptr, m_appDir.c_str(), nullptr);
    SHCreateDirectoryExW(nullptr, m_outside.c_str(), nullptr);
    m_menuFolder = ShellFolder(GetProgramsPath) + L"\\" + kMenu;
    m_desktopShortcut = ShellFolder(GetDesktopPath) + L"\\" + kProduct + L".lnk";

    SetRecordText(m_record.info.szRegKey, U16(kRegKey));
    SetRecordText(m_record.info.szProductName, U16(kProduct));
    SetRecordText(m_record.info.szMenuFolder, U16(kMenu));
    m_baselineThreads = LiveThreadCount();
  }

  void TearDown() override {
    // The removal's report runs on a thread of its own; the test ends when
    // it has, not in the middle of its request.
    WaitUntil([this] { return LiveThreadCount() <= m_baselineThreads; }, 4000);
    // Links first, so that clearing up never reaches through one.
    for (const std::wstring& link : m_unixLinks) RemoveUnixLink(link);
    RemoveTestTree(m_root);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + kRegKey).c_str());
  }

  // A Unix symbolic link, as a user of the program under Wine may have one
  // in the product's folders; removed before anything else at the end.
  void MakeLink(const std::wstring& target, const std::wstring& link) {
    ASSERT_TRUE(MakeUnixLink(target, link)) << "cannot link";
    m_unixLinks.push_back(link);
  }

  void WriteRecord() {
    const std::vector<std::uint8_t> bytes = WriteInstallRecord(m_record);
    ASSERT_TRUE(WriteBytes(m_appDir + L"pvUninstall.dat", bytes.data(), bytes.size()));
  }

  // The key, start-menu folder and desktop shortcut an install of the
  // program folder makes.
  void MakeProductTraces() {
    MakeUninstallKey(kRegKey, m_appDir);
    MakeFolderWithFiles(m_menuFolder, 0);
    ASSERT_TRUE(MakeShortcut(m_menuFolder + L"\\Quobly.lnk", m_appDir + L"Quobly.exe"));
    ASSERT_TRUE(MakeShortcut(m_menuFolder + L"\\卸载.lnk", m_appDir + L"pvUninstall.exe"));
    ASSERT_TRUE(MakeShortcut(m_desktopShortcut, m_appDir + L"Quobly.exe"));
  }

  // An uninstall entry as an installer writes it for `installFolder`.
  static void MakeUninstallKey(const std::wstring& name, const std::wstring& installFolder) {
    UniqueRegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + name).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    const std::wstring command = L"\"" + installFolder + L"pvUninstall.exe\"";
    for (const auto& value :
         {std::make_pair(L"InstallLocation", installFolder), std::make_pair(L"UninstallString", command)}) {
      RegSetValueExW(key.Get(), value.first, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.second.c_str()),
                     static_cast<DWORD>((value.second.size() + 1) * sizeof(wchar_t)));
    }
  }

  void ExpectProductTracesGone() {
    EXPECT_FALSE(Exists(m_menuFolder));
    EXPECT_FALSE(Exists(m_desktopShortcut));
    UniqueRegKey key;
    EXPECT_NE(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + kRegKey).c_str(), 0, KEY_READ, key.Put()),
        ERROR_SUCCESS);
  }

  // Runs the removal on its worker, as the dialog does, pumping messages
  // until the end-of-work 100 arrives.
  ProgressLog Run(std::function<void()> onMessage = nullptr) {
    WriteRecord();
    CPvUninstaller engine(m_appDir.c_str());
    ProgressLog log;
    log.engine = &engine;
    log.onMessage = std::move(onMessage);
    UniqueWindow wnd = CreateMessageWindow(L"UninstallerTestProgress", ProgressProc, &log);

    engine.StartUninstall(wnd.Get(), TRUE);
    const bool ended =
        PumpUntil([&] { return !log.messages.empty() && log.messages.back() == Progress(100, false); }, 30000);
    EXPECT_TRUE(ended);
    return log;
  }

  std::wstring m_root;
  std::wstring m_appDir;   // the program folder: what a per-item record's product may hold
  std::wstring m_outside;  // not the product's: everything here must stay
  std::wstring m_menuFolder;
  std::wstring m_desktopShortcut;
  InstallRecord m_record = {};
  std::vector<std::wstring> m_unixLinks;
  int m_baselineThreads = 0;
};

}  // namespace uninstall_test
