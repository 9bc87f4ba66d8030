// The uninstall engine: removes what the install record lists, reports the
// uninstall, tells a window its progress, and finally deletes the
// uninstaller itself.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "InstallRecord.h"
#include "RemovalGuard.h"

// Progress to the notified window: wParam = percent done (0..100), lParam 0.
// 100 means finished, whatever came before.
constexpr UINT WM_UNINSTALL_PROGRESS = WM_USER + 1001;

class CPvUninstaller {
 public:
  // `appDir` is the uninstaller's folder with a trailing backslash: the
  // record file is read from there, and whole-folder mode removes it.
  explicit CPvUninstaller(const wchar_t* appDir);

  // Runs the removal once, on a detached worker thread when `async` is set
  // (the object must then outlive the worker: see isFinished), else here.
  void StartUninstall(HWND notify, int async);

  // True once the removal has really ended: a 100 from the folder walk may
  // arrive while the registry key and shortcuts are still being removed.
  bool isFinished() const { return m_finished; }

  // Deletes the product's key under the system's uninstall list, when its
  // install location or uninstall command names the folder this program
  // runs from (after a removal has read the record). Returns 1.
  int ClearReg(const wchar_t* key);

  // Removes the product's shortcuts from its start-menu folder (then the
  // folder, when empty), the desktop shortcut and the listed links: each
  // only when it leads into the product.
  void DelShortcut();

  // Writes and starts the self-deletion batch, then ends the process. Returns
  // only when the batch cannot be written or started. The batch deletes by
  // name only what the removal could not (the program and the libraries it
  // keeps loaded), then the program folder if it is empty by then and the
  // removal walked it or the record asked for it to go once empty.
  void DeleteSelf();

  // The header read by the last removal (product name, install folder, ...).
  const tagUninstallInfo& Info() const { return m_info; }

 private:
  static unsigned __stdcall UninstallThread(void* p);
  bool UninstallFunc();
  bool ReadRecord();
  std::vector<std::wstring> OwnedFolders() const;
  std::vector<std::wstring> ShortcutPlaces() const;
  std::optional<std::wstring> MenuFolder() const;
  void RemoveTree(const std::wstring& dir, Removal kind);
  long long CountTree(const std::wstring& dir) const;
  void RemoveEmptyFolder(const std::wstring& dir);
  bool DelDir(RemovalTarget& folder, const std::wstring& dir);
  long long CountFiles(const std::wstring& dir) const;
  void RemoveFile(const std::wstring& path, Removal kind);
  void ReportProgress() const;
  void Notify(WPARAM percent, bool wait) const;

  HWND m_hNotify = nullptr;
  // 64 bits: summed over at most kMaxRecordListItems items, never overflowing.
  long long m_nTotal = 0;  // files the removal expects to delete
  long long m_nDone = 0;   // files the folder walk has deleted
  tagUninstallInfo m_info = {};
  bool m_wholeFolder = false;
  std::vector<tagUninstallItem> m_items;
  std::vector<tagUninstallItem> m_links;
  wchar_t m_szAppDir[MAX_PATH + 1] = {};
  std::optional<std::wstring> m_programFolder;  // m_szAppDir as Windows resolves it
  CPvRemovalGuard m_guard;
  // For the self-deletion batch, written by the worker before it finishes:
  // files the removal could not delete because this process has them loaded
  // (the program itself), and whether the program folder is to go once
  // empty (the removal walked it, or the record asked for it).
  std::vector<std::wstring> m_loadedLeftovers;
  bool m_removeProgramFolder = false;
  std::atomic<bool> m_finished{false};
};
